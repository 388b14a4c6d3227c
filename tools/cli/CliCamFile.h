#pragma once

#include <QString>

class CamProgram;

// Reads a cam file for the command line: 0 when it was read, 1 when it was refused, 2 when
// a phase or cam line in it is damaged. A refused file prints, on standard error, where and
// why, then the offending line followed by language text 10 as the program shows it; a
// damaged one its name and "Line n: '...' is not a phase ON OFF" (with everyDamagedLine,
// one such line for each in the file).
int CliReadCamFile(CamProgram& program, const QString& path, bool everyDamagedLine = false);

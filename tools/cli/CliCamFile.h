#pragma once

#include <QString>

class CamProgram;

// Reads a cam file for the command line. A refused file prints, on standard error, where
// and why, then the offending line followed by language text 10 as the program shows it.
bool CliReadCamFile(CamProgram& program, const QString& path);

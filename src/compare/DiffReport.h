#pragma once

#include "compare/ProgramDiff.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

class LanguageTexts;

// The differences as text, one line each, in a fixed order (type, cams by format, names,
// parameters) so scripts can grep them:
//   TYPE  A: C24-28  B: C24-06
//   F03 C05  A: 010 050, 100 150  B: 010 060
//   NAME C05  A: "PUMP"  B: "MIXER"
//   ADVANCE C05  A: 5  B: 7
// A cam without phases shows "none". Empty when the programs agree.
QStringList DiffLines(const ProgramDiff& diff);

// "F03 C05": where a cam difference is.
QString CamDifferencePlace(const CamDifference& cam);

// "2 cams, 1 name, 0 parameters": how much differs between programs of one type.
QString DiffCounts(const ProgramDiff& diff, const LanguageTexts& texts);

// "010 050, 100 150" (or "none"): one side of a cam difference.
QString PhasesText(const std::vector<Phase>& phases);

// The same as one JSON object on one line (UTF-8):
// {"same": false, "type": ["C24-28", "C24-28"], "cams": [{"format": 3, "cam": 5,
//  "a": [[10, 50]], "b": [[10, 60]]}], "names": [...], "parameters": [...]}
QByteArray DiffJson(const ProgramDiff& diff);

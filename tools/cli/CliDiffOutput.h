#pragma once

#include "compare/ProgramDiff.h"

// Prints a difference on standard output, as lines or as one JSON object, and returns the
// exit status of diff and verify: 0 same, 1 different.
int PrintDiff(const ProgramDiff& diff, bool json);

#pragma once

#include "model/EditSession.h"

#include <QString>

class LanguageTexts;

// How the Undo and Redo entries name a step, in the operator's language: "phase 030–090 on
// C 05, size 01", "Erase Size 03".
QString StepName(const StepLabel& step, const LanguageTexts& texts);

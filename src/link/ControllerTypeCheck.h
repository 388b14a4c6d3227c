#pragma once

#include "model/Outcome.h"

class CamProgram;
struct LinkContext;

enum class TypeCheck {
    SameType,      // the controller holds programs of the type in memory
    NotIdentified, // port, controller or reply not usable
    OtherType,     // designation + text 71
};

// The check and what the operator is to be shown for it (done for SameType).
struct TypeCheckOutcome {
    TypeCheck check = TypeCheck::NotIdentified;
    Outcome outcome;
    operator TypeCheck() const { return check; }
};

// Identifies the controller before a program transfer: a controller of another cam and
// format count is never read into, nor written from, a program of this type. The program's
// own pair is never changed here, and nothing is shown.
TypeCheckOutcome CheckControllerType(const LinkContext& context, const CamProgram& program);

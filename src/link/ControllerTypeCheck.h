#pragma once

class CamProgram;
struct LinkContext;

enum class TypeCheck {
    SameType,      // the controller holds programs of the type in memory
    NotIdentified, // port, controller or reply not usable (the operator was told)
    OtherType,     // designation + text 71 shown
};

// Identifies the controller before a program transfer: a controller of another cam and
// format count is never read into, nor written from, a program of this type. The program's
// own pair is never changed here.
TypeCheck CheckControllerType(const LinkContext& context, const CamProgram& program);

#pragma once

class CamProgram;
struct LinkContext;

// Start-up step: open the port with the stored settings and, when the controller is ready,
// identify it; the answer may resize the program to the controller's type.
// Returns true when a controller answered.
bool StartupIdentify(const LinkContext& context, CamProgram& program);

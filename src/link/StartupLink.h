#pragma once

#include "model/Outcome.h"

class CamProgram;
struct LinkContext;

// Start-up step: open the port with the stored settings and, when the controller is ready,
// identify it; the answer may resize the program to the controller's type. Done when a
// controller answered; otherwise what the operator is to be shown: "Errore <n> generato da
// SerialLine" for a port that would not open, the identification's message for a controller
// that answered badly, nothing (an empty refusal) for a port without a ready controller or
// replies without an identification.
Outcome StartupIdentify(const LinkContext& context, CamProgram& program);

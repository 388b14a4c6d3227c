#pragma once

#include "production/LineRun.h"

#include <QString>

class CamProgram;
struct VerifyResult;
class ProgressObserver;
struct LinkContext;
class TargetPrompts;

// The jobs of a production line. Each works on the link of its own target (its own line,
// prompts and program), built by the caller on the job's thread; prompts are the target's.
// Each ends with the target's first real cause (the message, the device, the stage and the
// system's words), taken from the core's outcome; echo, when given, hears the exchange too.

// Sends program: identifies the controller, refuses another type, sends every
// frame. Progress goes to the context ("format 12/28", percent); Ctrl+C ends it after the
// frame on its way, with the port closed.
TargetEnd SendProgramJob(const LinkContext& controller, const CamProgram& program,
                         TargetPrompts& prompts, TargetContext& context,
                         ProgressObserver* echo = nullptr);

// Writes a checked firmware image of imageLines lines into the controller's flash with "UPDATE
// FLASH ?" answered by confirmed. Nothing but the update's own exchange is asked ("?T",
// ":FU"): a loader answers no "?M". Ctrl+C ends it only before the update began: a
// controller whose update breaks off is left without working firmware, so a running one is
// finished.
TargetEnd FlashImageJob(const LinkContext& controller, TargetPrompts& prompts,
                        TargetContext& context, const QString& image, qint64 imageLines,
                        bool confirmed, ProgressObserver* echo = nullptr);

// Receives the controller's whole program and compares it with expected: Ok when they agree,
// Different (with the count of what differs) when not. The reception's transfer file goes to the
// link's working directory, which must be the target's own; program is set aside meanwhile.
// verified, when given, gets the whole comparison.
TargetEnd VerifyProgramJob(const LinkContext& controller, CamProgram& program,
                           TargetPrompts& prompts, TargetContext& context,
                           const CamProgram& expected, VerifyResult* verified = nullptr,
                           ProgressObserver* echo = nullptr);

#pragma once

#include "production/LineRun.h"

struct Session;
class TargetPrompts;

// The jobs of a production line. Each works on a Session of its own target (its own line,
// prompts and program), built by the caller on the job's thread.

// Sends the Session's program: identifies the controller, refuses another type, sends every
// frame. Progress goes to the context ("format 12/28", percent); Ctrl+C ends it after the
// frame on its way, with the port closed.
TargetEnd SendProgramJob(Session& session, TargetPrompts& prompts, TargetContext& context);

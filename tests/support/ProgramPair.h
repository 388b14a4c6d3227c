#pragma once

#include "model/CamProgram.h"
#include "support/CamRuns.h"

// The two programs of the compare tests: a 16x10 program with a named cam and a phase
// through zero, and a copy that differs in two cams (F01 C03 ends 10 degrees later, F04 C16
// lost its phase through zero). The names agree.
namespace ProgramPair {

inline CamProgram A() {
    CamProgram p;
    p.Reconfigure(16, 10, false);
    CamRuns::Fill(p, 1, 3, {{20, 79}});
    CamRuns::Fill(p, 4, 16, {{300, 29}, {90, 179}});
    p.SetCamName(3, QStringLiteral("PUMP"));
    return p;
}

inline CamProgram B() {
    CamProgram p = A();
    CamRuns::Fill(p, 1, 3, {{20, 89}});
    CamRuns::Fill(p, 4, 16, {{90, 179}});
    return p;
}

} // namespace ProgramPair

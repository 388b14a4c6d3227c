#pragma once

#include "model/CamProgram.h"

#include <QString>

#include <vector>

// One cam of one format whose degrees differ, with both phase lists as the editor lists them.
struct CamDifference {
    int Format = 0;
    int Cam = 0;
    std::vector<Phase> A;
    std::vector<Phase> B;
};

struct NameDifference {
    int Cam = 0;
    QString A;
    QString B;
};

// A function parameter that differs, named as the cam file spells it ("SFASAMENTO ENCODER"),
// or "ADVANCE C05" / "ADVANCE C01-04" for the advance of one cam or group. Cam is the first
// cam an advance belongs to, 0 for the other parameters.
struct ParameterDifference {
    QString Name;
    int A = 0;
    int B = 0;
    int Cam = 0;
};

// What differs between two programs. Programs of different types are not compared further:
// their formats and cams do not line up, so only the two types are reported.
struct ProgramDiff {
    int CamsA = 0;
    int FormatsA = 0;
    int CamsB = 0;
    int FormatsB = 0;
    std::vector<CamDifference> Cams; // by format, then cam
    std::vector<NameDifference> Names;
    std::vector<ParameterDifference> Parameters;

    bool SameType() const { return CamsA == CamsB && FormatsA == FormatsB; }
    bool Same() const { return SameType() && Cams.empty() && Names.empty() && Parameters.empty(); }
};

// Compares a with b; neither is changed.
ProgramDiff DiffPrograms(const CamProgram& a, const CamProgram& b);

// The phases of 360 degree states in the editor's list order: the phase through 0 first
// (300..29 is {300, 30}), a full circle {0, 360}.
std::vector<Phase> EditorPhases(const uint8_t* degrees);

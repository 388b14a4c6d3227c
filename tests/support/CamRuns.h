#pragma once

#include "model/CamProgram.h"

#include <QList>
#include <QPair>

// Cams described by their ON runs [first, last] (inclusive; a run may wrap past 359), so a
// test states a cam the way an operator reads it off the diagram.
namespace CamRuns {
using Runs = QList<QPair<int, int>>;

inline void Fill(CamProgram& program, int format, int cam, const Runs& runs) {
    for (int d = 0; d < CamProgram::Degrees; ++d)
        program.WriteDegree(format, cam, d, 0);
    for (const auto& run : runs) {
        for (int d = run.first;; d = (d + 1) % CamProgram::Degrees) {
            program.WriteDegree(format, cam, d, 1);
            if (d == run.second)
                break;
        }
    }
}

// The ON runs of a cam, each from its first to its last degree, starting after the first
// off degree so that a run through 359/0 is one run.
inline Runs Of(const CamProgram& program, int format, int cam) {
    Runs runs;
    for (const Phase& p : program.ListPhases(format, cam))
        runs.append({p.On, (p.Off + CamProgram::Degrees - 1) % CamProgram::Degrees});
    return runs;
}

// Every degree of every cam of a format, for comparing whole formats.
inline QByteArray FormatBytes(const CamProgram& program, int format) {
    QByteArray bytes;
    for (int cam = 1; cam <= program.CamCount(); ++cam)
        bytes.append(reinterpret_cast<const char*>(program.CamDegrees(format, cam)),
                     CamProgram::Degrees);
    return bytes;
}
} // namespace CamRuns

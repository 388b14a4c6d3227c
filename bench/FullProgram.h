#pragma once

#include "model/CamProgram.h"

#include <QString>

// The largest program of a type: every cam of every format with 180 one-degree phases, and
// every cam named.
inline CamProgram FullProgram(int cams, int formats) {
    CamProgram p;
    p.Reconfigure(cams, formats, false);
    for (int f = 1; f <= formats; ++f) {
        for (int c = 1; c <= cams; ++c) {
            for (int d = (f + c) % 2; d < 360; d += 2)
                p.WriteDegree(f, c, d, 1);
        }
    }
    for (int c = 1; c <= cams; ++c)
        p.SetCamName(c, QStringLiteral("CAM %1").arg(c));
    return p;
}

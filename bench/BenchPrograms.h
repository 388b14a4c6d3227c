#pragma once

#include "model/CamProgram.h"

#include <QString>

#include <sys/resource.h>

// What the line benchmarks share: a full production program and the cost of child processes.
namespace BenchPrograms {

// Every cam of every format has one phase and a name: the frames a full production
// program of this type sends.
inline CamProgram FullProgram(int cams, int formats) {
    CamProgram program;
    program.Reconfigure(cams, formats, false);
    for (int cam = 1; cam <= cams; ++cam)
        program.SetCamName(cam, QStringLiteral("CAM %1").arg(cam));
    for (int format = 1; format <= formats; ++format)
        for (int cam = 1; cam <= cams; ++cam)
            program.SetPhase(format, cam, (format * 7 + cam * 11) % 360,
                             (format * 7 + cam * 11 + 90) % 360);
    program.Parameters.AdvanceCount = int16_t(cams);
    return program;
}

// CPU seconds of the children reaped so far: a simulator still running is not counted.
inline double CpuSecondsOfChildren() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The largest resident set of any child reaped so far, in MiB.
inline double PeakMiBOfChildren() {
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    return double(usage.ru_maxrss) / 1024;
}

} // namespace BenchPrograms

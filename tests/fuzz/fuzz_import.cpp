// Any bytes as the section Import Size takes: read into a scratch format, applied only when
// the section read cleanly, and the program stays sound either way.
#include "FuzzSupport.h"
#include "model/CamFileReader.h"
#include "model/CamLineCursor.h"
#include "model/FormatScratch.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EnsureFuzzApp();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    for (int cams : {8, 24}) {
        CamProgram program;
        program.Reconfigure(cams, cams == 8 ? 21 : 6, false);
        FormatScratch scratch(cams);
        CamLineCursor in(bytes);
        CamReadError error;
        const SectionStop stop = ReadFormatSection(in, scratch, &error);
        if (stop != SectionStop::Failed)
            scratch.ApplyTo(program, 2);
        CheckProgramInvariants(program);
        for (int c = 1; c <= cams; ++c) {
            const uint8_t* d = scratch.CamDegrees(c);
            for (int k = 0; k < CamProgram::Degrees; ++k) {
                if (d[k] > 1)
                    std::abort();
            }
        }
    }
    return 0;
}

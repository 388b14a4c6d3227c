// Any bytes as a cam file, read into a program of each size the operator may have open.
#include "FuzzSupport.h"
#include "model/CamFileReader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EnsureFuzzApp();
    const QByteArray bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    static const int pairs[][2] = {{24, 6}, {8, 89}, {16, 10}};
    for (const auto& pair : pairs) {
        CamProgram program;
        program.Reconfigure(pair[0], pair[1], false);
        ReadCamBytes(program, bytes);
        CheckProgramInvariants(program);
    }
    return 0;
}

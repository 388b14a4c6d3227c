// Any bytes as the transfer file a reception left: read into programs of each size, which
// stay sound whatever the controller sent.
#include "../support/AbsentSerialLine.h"
#include "FuzzSupport.h"
#include "link/ProgramReception.h"
#include "shell/Session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EnsureFuzzApp();
    WriteFuzzFile(QStringLiteral("__.__"), data, size);
    static const int pairs[][2] = {{24, 28}, {8, 21}, {16, 44}};
    for (const auto& pair : pairs) {
        StillClock clock;
        AbsentSerialLine line;
        SilentPrompts prompts;
        NoDialogs backend;
        CommonDialog dialog(backend);
        Session session(prompts, clock, dialog, line, FuzzDir());
        session.program.Reconfigure(pair[0], pair[1], false);
        ReadTransferFile(session.linkContext(), session.program);
        CheckProgramInvariants(session.program);
        if (session.program.CamCount() != pair[0] || session.program.FormatCount() != pair[1])
            std::abort(); // a reception never changes the controller type
    }
    return 0;
}

#include "link/StartupLink.h"

#include "link/Identification.h"
#include "link/LineProtocol.h"
#include "shell/Session.h"

bool StartupIdentify(Session& session) {
    OpenSerialPort(session);
    if (session.link.state.PortStatus != 0)
        return false;
    if (IdentifyController(session) != IdentifyResult::Identified)
        return false;
    CamProgram& program = session.program;
    const int cams = session.link.state.IdentCamCount;
    const int formats = session.link.state.IdentFormatCount;
    if (cams != program.CamCount() || formats != program.FormatCount())
        program.Reconfigure(cams, formats, false);
    return true;
}

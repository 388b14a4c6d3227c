#include "link/StartupLink.h"

#include "link/Identification.h"
#include "link/LineProtocol.h"
#include "link/LinkContext.h"
#include "model/CamProgram.h"

bool StartupIdentify(const LinkContext& context, CamProgram& program) {
    OpenSerialPort(context);
    if (context.link.state.PortStatus != 0)
        return false;
    if (IdentifyController(context) != IdentifyResult::Identified)
        return false;
    const int cams = context.link.state.IdentCamCount;
    const int formats = context.link.state.IdentFormatCount;
    if (cams != program.CamCount() || formats != program.FormatCount())
        program.Reconfigure(cams, formats, false);
    return true;
}

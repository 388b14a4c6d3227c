#include "link/StartupLink.h"

#include "link/Identification.h"
#include "link/LineProtocol.h"
#include "link/LinkContext.h"
#include "link/LinkOutcome.h"
#include "model/CamProgram.h"
#include "model/NumberForms.h"

Outcome StartupIdentify(const LinkContext& context, CamProgram& program) {
    const LinkOpening opening = OpenSerialPort(context);
    const LinkState& state = context.link.state;
    if (state.PortStatus != LinkStatus::Ready) {
        if (opening.status == LinkStatus::NotReady)
            return Outcome::Refusal(QString());
        return Outcome::Refusal(context.Text(230) +
                                    NumberForms::Standard(LinkErrorNumber(state.PortStatus)) +
                                    context.Text(231),
                                LinkPlace(context), state.OpenCause, context.Text(161));
    }
    const Identification identified = IdentifyController(context);
    if (identified.result == IdentifyResult::NotFound)
        return Outcome::Refusal(QString());
    if (identified.result != IdentifyResult::Identified)
        return identified.outcome;
    const int cams = state.IdentCamCount;
    const int formats = state.IdentFormatCount;
    if (cams != program.CamCount() || formats != program.FormatCount())
        program.Reconfigure(cams, formats, false);
    return Outcome::Done();
}

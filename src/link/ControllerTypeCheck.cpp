#include "link/ControllerTypeCheck.h"

#include "dialogs/Prompts.h"
#include "link/Identification.h"
#include "shell/Session.h"

TypeCheck CheckControllerType(Session& session) {
    switch (IdentifyController(session)) {
    case IdentifyResult::Identified:
        break;
    case IdentifyResult::NotFound:
        // Six replies without an identification: sending to (or reading from) a controller
        // that never said what it is could only go wrong.
        session.prompts.message(QStringLiteral("BAD comm"), QString(), Prompts::Buttons::Ok,
                                Prompts::Icon::None);
        return TypeCheck::NotIdentified;
    case IdentifyResult::PortNotReady:
    case IdentifyResult::NoAnswer:
    case IdentifyResult::BadPair:
        return TypeCheck::NotIdentified;
    }
    const int cams = session.link.state.IdentCamCount;
    const int formats = session.link.state.IdentFormatCount;
    if (cams == session.program.CamCount() && formats == session.program.FormatCount())
        return TypeCheck::SameType;
    session.prompts.message(ControllerDesignation(cams, formats) + session.Text(71), QString(),
                            Prompts::Buttons::Ok, Prompts::Icon::Warning);
    return TypeCheck::OtherType;
}

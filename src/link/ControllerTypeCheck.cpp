#include "link/ControllerTypeCheck.h"

#include "dialogs/Prompts.h"
#include "link/Identification.h"
#include "link/LinkContext.h"
#include "model/CamProgram.h"

TypeCheck CheckControllerType(const LinkContext& context, const CamProgram& program) {
    switch (IdentifyController(context)) {
    case IdentifyResult::Identified:
        break;
    case IdentifyResult::NotFound:
        // Six replies without an identification: sending to (or reading from) a controller
        // that never said what it is could only go wrong.
        context.prompts.message(QStringLiteral("BAD comm"), QString(), Prompts::Buttons::Ok,
                                Prompts::Icon::None);
        return TypeCheck::NotIdentified;
    case IdentifyResult::PortNotReady:
    case IdentifyResult::NoAnswer:
    case IdentifyResult::BadPair:
        return TypeCheck::NotIdentified;
    }
    const int cams = context.link.state.IdentCamCount;
    const int formats = context.link.state.IdentFormatCount;
    if (cams == program.CamCount() && formats == program.FormatCount())
        return TypeCheck::SameType;
    context.prompts.message(ControllerDesignation(cams, formats) + context.Text(71), QString(),
                            Prompts::Buttons::Ok, Prompts::Icon::Warning);
    return TypeCheck::OtherType;
}

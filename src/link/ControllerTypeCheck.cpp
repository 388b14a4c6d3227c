#include "link/ControllerTypeCheck.h"

#include "link/Identification.h"
#include "link/LinkContext.h"
#include "link/LinkOutcome.h"
#include "model/CamProgram.h"

TypeCheckOutcome CheckControllerType(const LinkContext& context, const CamProgram& program) {
    // Six replies without an identification (NotFound) refuse as well: sending to (or
    // reading from) a controller that never said what it is could only go wrong.
    const Identification identified = IdentifyController(context);
    if (identified.result != IdentifyResult::Identified)
        return {TypeCheck::NotIdentified, identified.outcome};
    const int cams = context.link.state.IdentCamCount;
    const int formats = context.link.state.IdentFormatCount;
    if (cams == program.CamCount() && formats == program.FormatCount())
        return {TypeCheck::SameType, Outcome::Done()};
    return {TypeCheck::OtherType,
            Outcome::Refusal(ControllerDesignation(cams, formats) + context.Text(71),
                             LinkPlace(context),
                             context.Text(228) +
                                 ControllerDesignation(program.CamCount(), program.FormatCount()),
                             context.Text(162))};
}

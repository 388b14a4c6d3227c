#include "CliTransferProgress.h"

#include "CliCommand.h"
#include "dialogs/Prompts.h"
#include "link/ProgramReception.h"
#include "model/NumberForms.h"
#include "shell/Session.h"

void CliTransferProgress::phaseBegun(Phase phase) {
    phase_ = phase;
    const int cams = session_.program.CamCount();
    if (phase == Phase::Receiving)
        cliErr() << (session_.Text(46) + QString::number(cams)).trimmed() << "\n";
    else if (phase == Phase::Transmitting)
        cliErr() << (session_.Text(47) + NumberForms::Standard(cams)).trimmed() << "\n";
    cliErr().flush();
}

void CliTransferProgress::counted(const Counters& counters) {
    const QString format = phase_ == Phase::Receiving
                               ? session_.Text(48) + FormatHeaderText(counters.format)
                               : session_.Text(52) + NumberForms::Standard(counters.format);
    cliErr() << format.trimmed() << "  " << counters.percent << "%\n";
    cliErr().flush();
}

void CliTransferProgress::refused(const Refusal& refusal) {
    // Worded as every other message of the command line.
    if (!refusal.operatorChose())
        session_.prompts.message(refusal.text(session_.texts), QString(), Prompts::Buttons::Ok,
                                 Prompts::Icon::None);
}

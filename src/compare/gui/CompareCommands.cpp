#include "compare/gui/CompareCommands.h"

#include "compare/ControllerVerify.h"
#include "compare/DiffReport.h"
#include "compare/gui/DifferencesWindow.h"
#include "dialogs/Prompts.h"
#include "dialogs/gui/MainActions.h"
#include "dialogs/gui/WindowHost.h"
#include "link/Identification.h"
#include "link/LinkOutcome.h"
#include "link/PortMap.h"
#include "link/gui/TransferWindow.h"
#include "model/CamFileReader.h"
#include "model/gui/CamFileChoice.h"
#include "shell/Session.h"

#include <QAction>
#include <QDateTime>
#include <QFileInfo>

CompareCommands::CompareCommands(WindowHost& window) : QObject(&window), window_(window) {
    setObjectName(QStringLiteral("CompareCommands"));
    const MainActions& actions = window.actions();
    connect(actions.f_Compare, &QAction::triggered, this, &CompareCommands::compareWithFile);
    connect(actions.C_Compare, &QAction::triggered, this, &CompareCommands::compareWithController);
    actions.o_Verify->setChecked(window.session().settings.VerifyAfterTransmit());
    connect(actions.o_Verify, &QAction::toggled, this, &CompareCommands::setVerifyAfterTransmit);
    connect(&window, &WindowHost::programTransmitted, this, &CompareCommands::verifyAfterTransmit);
}

void CompareCommands::compareWithFile() {
    window_.hideEditors();
    Session& session = window_.session();
    const QString chosen =
        ChooseCamFileToOpen(session, session.Text(312), CamFileDialogFolder(session));
    if (!chosen.isEmpty())
        compareFile(chosen);
}

void CompareCommands::compareFile(const QString& chosen) {
    Session& session = window_.session();
    CamProgram other;
    const CamReadResult read = ReadCamFile(other, chosen);
    if (!read.ok()) {
        // Half a file compared with the program would show differences that are not there.
        QString why = read.status == CamReadResult::Status::Missing
                          ? session.Text(313)
                          : CamReadReason(read.error, session.texts);
        if (read.status == CamReadResult::Status::Failed)
            why = session.Text(314) + QString::number(read.error.LineNumber) +
                  QStringLiteral(": ") + why + QLatin1Char('\n') + read.error.Line;
        session.prompts.message(chosen + QStringLiteral(": ") + why, window_.windowTitle(),
                                Prompts::Buttons::Ok, Prompts::Icon::Warning);
        return;
    }
    const QDateTime written = QFileInfo(chosen).lastModified();
    openDifferences(
        other, QFileInfo(chosen).fileName(),
        [chosen, written] { return QFileInfo(chosen).lastModified() == written; },
        [this, chosen] { compareFile(chosen); });
}

std::function<bool()> CompareCommands::stillTrue(std::function<bool()> otherSideSame) const {
    const Session& session = window_.session();
    return [&session, compared = session.program, otherSideSame] {
        return otherSideSame() && DiffPrograms(compared, session.program).Same();
    };
}

std::function<bool()> CompareCommands::controllerSame() const {
    const Session& session = window_.session();
    // The device the port names now (the port map is read afresh): another port, or the
    // same port linked elsewhere, is another controller.
    const auto portDevice = [&session] {
        const QString& device = session.link.state.DeviceOverride;
        return device.isEmpty() ? PortMap::PortDevice(session.options.PortNumber, session.workDir)
                                : device;
    };
    return [&session, this, portDevice, device = portDevice(), sent = transmissions_] {
        return sent == transmissions_ && !device.isEmpty() && portDevice() == device &&
               session.link.state.IdentDevice == device;
    };
}

void CompareCommands::compareWithController() {
    compareWithControllerThen(false);
}

void CompareCommands::verifyAfterTransmit() {
    ++transmissions_;
    if (window_.session().settings.VerifyAfterTransmit())
        compareWithControllerThen(true);
}

void CompareCommands::setVerifyAfterTransmit(bool on) {
    Session& session = window_.session();
    if (!session.settings.SetVerifyAfterTransmit(on))
        session.prompts.message(session.settings.Path() + session.Text(315), window_.windowTitle(),
                                Prompts::Buttons::Ok, Prompts::Icon::Warning);
}

void CompareCommands::compareWithControllerThen(bool sayWhenSame) {
    window_.hideEditors();
    Session& session = window_.session();
    const CamProgram expected = session.program;
    // The reception reads into a scratch program while the operator's is set aside: the
    // editor must not paint the scratch one meanwhile.
    QWidget* editor = window_.centralPart();
    if (editor)
        editor->setUpdatesEnabled(false);
    const VerifyResult result =
        VerifyController(session.linkContext(), session.program, expected, [&] {
            TransferWindow transfer(session, "?FR", window_.window());
            transfer.exec();
            return transfer.outcome();
        });
    if (editor)
        editor->setUpdatesEnabled(true);
    window_.redrawFormat();
    switch (result.Status) {
    case VerifyStatus::Compared:
        break;
    case VerifyStatus::NotIdentified:
    case VerifyStatus::OtherType:
        ShowOutcome(session.linkContext(), result.Refused);
        window_.refreshStatus();
        window_.showResult(session.Text(316) + QStringLiteral(": ") + result.Refused.summary());
        return;
    case VerifyStatus::NotReceived:
        // The operator was told why, or stopped it.
        window_.showResult(session.Text(316));
        return;
    case VerifyStatus::Broken: {
        // A reception that broke off was shown by the transfer window; a line that could not
        // be read is said here, with where it stands.
        const bool refused = !result.Refused.done();
        window_.showResult(session.Text(311) +
                           (refused ? QStringLiteral(": ") + result.Refused.summary() : QString()));
        session.prompts.message(
            session.Text(311) +
                (refused ? QStringLiteral("\n") + result.Refused.text(session.texts) : QString()),
            window_.windowTitle(), Prompts::Buttons::Ok, Prompts::Icon::Warning);
        return;
    }
    }
    const std::function<bool()> holds = stillTrue(controllerSame());
    if (result.Diff.Same()) {
        window_.showResult(session.Text(310), holds);
        // After a transmission the answer is all the operator waits for; asked for on its
        // own, the window says it as well.
        if (sayWhenSame) {
            session.prompts.message(session.Text(310), window_.windowTitle(), Prompts::Buttons::Ok,
                                    Prompts::Icon::Information);
            return;
        }
    } else {
        window_.showResult(session.Text(317) + DiffCounts(result.Diff, session.texts), holds);
    }
    openDifferences(result.Received,
                    session.Text(318) +
                        ControllerDesignation(expected.CamCount(), expected.FormatCount()),
                    controllerSame(), [this] { compareWithController(); });
}

DifferencesWindow* CompareCommands::openDifferences(const CamProgram& other, const QString& caption,
                                                    const std::function<bool()>& otherSideSame,
                                                    const std::function<void()>& again) {
    Session& session = window_.session();
    const CamProgram& program = session.program;
    const QString name = program.CurrentFileName.isEmpty()
                             ? session.Text(319)
                             : session.Text(319) + QStringLiteral(" (") +
                                   QFileInfo(program.CurrentFileName).fileName() + QLatin1Char(')');
    auto* differences =
        new DifferencesWindow(session.texts, program, other, name, caption, window_.window());
    differences->setAttribute(Qt::WA_DeleteOnClose);
    connect(differences, &DifferencesWindow::goToCam, this, &CompareCommands::goToCam);
    differences->watch(stillTrue(otherSideSame), session.Text(342), session.Text(343));
    connect(differences, &DifferencesWindow::compareAgain, this, again);
    differences->show();
    return differences;
}

void CompareCommands::goToCam(int format, int cam) {
    window_.showCam(format, cam);
}

#include "compare/gui/CompareCommands.h"

#include "compare/ControllerVerify.h"
#include "compare/DiffReport.h"
#include "compare/gui/DifferencesWindow.h"
#include "dialogs/Prompts.h"
#include "link/Identification.h"
#include "link/gui/TransferWindow.h"
#include "model/CamFileReader.h"
#include "model/gui/CamFileChoice.h"
#include "shell/Session.h"
#include "shell/gui/MainWindow.h"

#include <QAction>
#include <QFileInfo>

namespace {
const QString VerifiedText = QStringLiteral("Verified: the controller holds the program");
const QString NotWholeText =
    QStringLiteral("The controller's program did not come whole: nothing was compared");
} // namespace

CompareCommands::CompareCommands(MainWindow& window) : QObject(&window), window_(window) {
    setObjectName(QStringLiteral("CompareCommands"));
    const MainActions& actions = window.actions();
    connect(actions.f_Compare, &QAction::triggered, this, &CompareCommands::compareWithFile);
    connect(actions.C_Compare, &QAction::triggered, this, &CompareCommands::compareWithController);
    actions.o_Verify->setChecked(window.session().settings.VerifyAfterTransmit());
    connect(actions.o_Verify, &QAction::toggled, this, &CompareCommands::setVerifyAfterTransmit);
    connect(&window, &MainWindow::programTransmitted, this, &CompareCommands::verifyAfterTransmit);
}

void CompareCommands::compareWithFile() {
    window_.hideEditors();
    Session& session = window_.session();
    const QString chosen = ChooseCamFileToOpen(session, QStringLiteral("Compare with File"),
                                               CamFileDialogFolder(session));
    if (chosen.isEmpty())
        return;

    CamProgram other;
    const CamReadResult read = ReadCamFile(other, chosen);
    if (!read.ok()) {
        // Half a file compared with the program would show differences that are not there.
        QString why = read.status == CamReadResult::Status::Missing ? QStringLiteral("no such file")
                                                                    : read.error.Reason;
        if (read.status == CamReadResult::Status::Failed)
            why = QStringLiteral("line ") + QString::number(read.error.LineNumber) +
                  QStringLiteral(": ") + why + QLatin1Char('\n') + read.error.Line;
        session.prompts.message(chosen + QStringLiteral(": ") + why, window_.windowTitle(),
                                Prompts::Buttons::Ok, Prompts::Icon::Warning);
        return;
    }
    openDifferences(other, QFileInfo(chosen).fileName());
}

void CompareCommands::compareWithController() {
    compareWithControllerThen(false);
}

void CompareCommands::verifyAfterTransmit() {
    if (window_.session().settings.VerifyAfterTransmit())
        compareWithControllerThen(true);
}

void CompareCommands::setVerifyAfterTransmit(bool on) {
    Session& session = window_.session();
    if (!session.settings.SetVerifyAfterTransmit(on))
        session.prompts.message(session.settings.Path() + QStringLiteral(": not written"),
                                window_.windowTitle(), Prompts::Buttons::Ok,
                                Prompts::Icon::Warning);
}

void CompareCommands::compareWithControllerThen(bool sayWhenSame) {
    window_.hideEditors();
    Session& session = window_.session();
    const CamProgram expected = session.program;
    // The reception reads into a scratch program while the operator's is set aside: the
    // editor must not paint the scratch one meanwhile.
    QWidget* editor = window_.centralWidget();
    if (editor)
        editor->setUpdatesEnabled(false);
    const VerifyResult result =
        VerifyController(session.linkContext(), session.program, expected, [&] {
            TransferWindow transfer(session, "?FR", &window_);
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
    case VerifyStatus::NotReceived:
        // The operator was told why, or stopped it.
        window_.showResult(QStringLiteral("Nothing compared"));
        return;
    case VerifyStatus::Broken:
        window_.showResult(NotWholeText);
        session.prompts.message(NotWholeText, window_.windowTitle(), Prompts::Buttons::Ok,
                                Prompts::Icon::Warning);
        return;
    }
    if (result.Diff.Same()) {
        window_.showResult(VerifiedText);
        // After a transmission the answer is all the operator waits for; asked for on its
        // own, the window says it as well.
        if (sayWhenSame) {
            session.prompts.message(VerifiedText, window_.windowTitle(), Prompts::Buttons::Ok,
                                    Prompts::Icon::Information);
            return;
        }
    } else {
        window_.showResult(QStringLiteral("Controller differs: ") + DiffCounts(result.Diff));
    }
    openDifferences(result.Received,
                    QStringLiteral("controller ") +
                        ControllerDesignation(expected.CamCount(), expected.FormatCount()));
}

DifferencesWindow* CompareCommands::openDifferences(const CamProgram& other,
                                                    const QString& caption) {
    const CamProgram& program = window_.session().program;
    const QString name = program.CurrentFileName.isEmpty()
                             ? QStringLiteral("program in memory")
                             : QStringLiteral("program in memory (") +
                                   QFileInfo(program.CurrentFileName).fileName() + QLatin1Char(')');
    auto* differences = new DifferencesWindow(program, other, name, caption, &window_);
    differences->setAttribute(Qt::WA_DeleteOnClose);
    connect(differences, &DifferencesWindow::goToCam, this, &CompareCommands::goToCam);
    differences->show();
    return differences;
}

void CompareCommands::goToCam(int format, int cam) {
    Session& session = window_.session();
    if (!session.program.IsValidFormat(format) || !session.program.IsValidCam(cam))
        return;
    window_.hideEditors();
    session.edit.selectFormat(format);
    session.edit.selectCam(cam);
    window_.redrawFormat();
    window_.raise();
    window_.activateWindow();
}

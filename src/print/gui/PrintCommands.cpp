#include "print/gui/PrintCommands.h"

#include "dialogs/CommonDialog.h"
#include "dialogs/gui/MainActions.h"
#include "dialogs/gui/QtCommonDialogBackend.h"
#include "dialogs/gui/WindowHost.h"
#include "print/PrinterSelection.h"
#include "print/gui/PrintWindow.h"
#include "print/gui/PrinterTarget.h"
#include "shell/Session.h"

#include <QAction>
#include <QPrinter>

PrintCommands::PrintCommands(WindowHost& window) : QObject(&window), window_(window) {
    setObjectName(QStringLiteral("PrintCommands"));
    connect(window.actions().f_SelPr, &QAction::triggered, this, &PrintCommands::selectPrinter);
    connect(window.actions().Pr_Size, &QAction::triggered, this, &PrintCommands::openPrintWindow);
}

PrintCommands::~PrintCommands() = default;

QPrinter& PrintCommands::printer() {
    auto* platform = dynamic_cast<QtCommonDialogBackend*>(&window_.session().dialog.backend());
    if (platform)
        return platform->currentPrinter();
    if (!ownPrinter_)
        ownPrinter_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *ownPrinter_;
}

void PrintCommands::selectPrinter() {
    Session& session = window_.session();
    PrinterSelection::SelectPrinter(session.dialog, session.prompts, session.texts);
}

void PrintCommands::openPrintWindow() {
    Session& session = window_.session();
    PrinterTarget target(printer(), session.dialog, session.prompts, session.texts);
    PrintWindow window(session, target, window_.window());
    window.exec();
    // A PDF that could not be put in place (full disk) was reported; it is no result.
    if (!target.lastPdf().isEmpty() && target.failure().isEmpty())
        window_.showResult(session.Text(307) + target.lastPdf());
}

#include "model/gui/FormatCommands.h"

#include "model/FormatOperations.h"
#include "shell/Session.h"
#include "shell/gui/MainWindow.h"

#include <QAction>

FormatCommands::FormatCommands(MainWindow& window) : QObject(&window), window_(window) {
    auto connectEntry = [this](const char* name, void (FormatCommands::*handler)()) {
        if (QAction* entry = window_.action(QString::fromLatin1(name)))
            connect(entry, &QAction::triggered, this, handler);
    };
    connectEntry("S_Sel", &FormatCommands::selectFormat);
    connectEntry("Sel_Form", &FormatCommands::selectFormatFromToolbar);
    connectEntry("S_Cop", &FormatCommands::copyFormat);
    connectEntry("s_Clr", &FormatCommands::eraseFormat);
    connectEntry("Azz_Form", &FormatCommands::eraseFormat);
    connectEntry("S_Imp", &FormatCommands::importFormat);
}

void FormatCommands::selectFormat() {
    if (!FormatOperations::SelectFormat(window_.session()))
        return;
    // The undo record belongs to the format it was taken from.
    if (QAction* undo = window_.action(QStringLiteral("o_Undo")))
        undo->setEnabled(false);
    window_.redrawFormat();
}

void FormatCommands::selectFormatFromToolbar() {
    window_.hideEditors();
    selectFormat();
}

void FormatCommands::copyFormat() {
    FormatOperations::CopyFormat(window_.session());
}

void FormatCommands::eraseFormat() {
    window_.hideEditors();
    if (FormatOperations::EraseFormat(window_.session()))
        window_.redrawFormat();
}

void FormatCommands::importFormat() {
    if (FormatOperations::ImportFormat(window_.session(), importFileName_))
        window_.redrawFormat();
}

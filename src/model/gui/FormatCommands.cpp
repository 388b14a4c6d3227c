#include "model/gui/FormatCommands.h"

#include "dialogs/gui/MainActions.h"
#include "dialogs/gui/WindowHost.h"
#include "shell/FormatOperations.h"
#include "shell/Session.h"

#include <QAction>

FormatCommands::FormatCommands(WindowHost& window) : QObject(&window), window_(window) {
    const MainActions& a = window.actions();
    connect(a.S_Sel, &QAction::triggered, this, &FormatCommands::selectFormat);
    connect(a.Sel_Form, &QAction::triggered, this, &FormatCommands::selectFormatFromToolbar);
    connect(a.S_Cop, &QAction::triggered, this, &FormatCommands::copyFormat);
    connect(a.s_Clr, &QAction::triggered, this, &FormatCommands::eraseFormat);
    connect(a.Azz_Form, &QAction::triggered, this, &FormatCommands::eraseFormat);
    connect(a.S_Imp, &QAction::triggered, this, &FormatCommands::importFormat);
}

void FormatCommands::selectFormat() {
    if (FormatOperations::SelectFormat(window_.session()))
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

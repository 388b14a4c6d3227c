#include "link/gui/LinkCommands.h"

#include "dialogs/gui/MainActions.h"
#include "dialogs/gui/WindowHost.h"
#include "link/gui/PortWindow.h"
#include "link/gui/ProgrammerTypeWindow.h"
#include "shell/Session.h"

#include <QAction>

LinkCommands::LinkCommands(WindowHost& window) : QObject(&window), window_(window) {
    setObjectName(QStringLiteral("LinkCommands"));
    connect(window.actions().o_SetPort, &QAction::triggered, this, &LinkCommands::openPortWindow);
    connect(window.actions().Sel_prg, &QAction::triggered, this,
            &LinkCommands::openProgrammerTypeWindow);
}

void LinkCommands::openPortWindow() {
    PortWindow window(window_.session(), window_.window());
    window.exec();
}

void LinkCommands::openProgrammerTypeWindow() {
    Session& session = window_.session();
    ProgrammerTypeWindow window(session, window_.window());
    window.exec();
    if (!window.TypeChanged())
        return;
    // A new type means an empty program of that type: the old cams do not fit it.
    CamProgram& program = session.program;
    if (!program.Reconfigure(window.chosenCamCount(), window.chosenFormatCount(), false))
        return;
    program.ProgramSaved = true;
    program.ResetToNew();
    session.edit.restart();
    window_.refreshTitle();
    window_.redrawFormat();
    // And whatever else File > New starts afresh; with nothing unsaved it asks nothing.
    window_.actions().f_New->trigger();
}

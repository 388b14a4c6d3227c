#include "functions/gui/FunctionCommands.h"

#include "dialogs/gui/MainActions.h"
#include "dialogs/gui/WindowHost.h"
#include "functions/gui/FunctionParametersWindow.h"
#include "shell/Session.h"

#include <QAction>

FunctionCommands::FunctionCommands(WindowHost& window) : QObject(&window), window_(window) {
    connect(window.actions().Fu_Set, &QAction::triggered, this, &FunctionCommands::openFunctions);
}

void FunctionCommands::openFunctions() {
    window_.hideEditors();
    EditSession& edit = window_.session().edit;
    edit.beginChange();
    {
        FunctionParametersWindow functions(window_.session(), window_.window());
        functions.exec();
    }
    const CamProgram& p = window_.session().program;
    edit.endChange({StepLabel::Kind::Functions, p.CurrentFormat, p.CurrentCam, 0, 0});
    window_.redrawFormat();
}

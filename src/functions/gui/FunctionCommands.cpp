#include "functions/gui/FunctionCommands.h"

#include "functions/gui/FunctionParametersWindow.h"
#include "shell/Session.h"
#include "shell/gui/MainWindow.h"

#include <QAction>

FunctionCommands::FunctionCommands(MainWindow& window) : QObject(&window), window_(window) {
    connect(window.actions().Fu_Set, &QAction::triggered, this, &FunctionCommands::openFunctions);
}

void FunctionCommands::openFunctions() {
    window_.hideEditors();
    EditSession& edit = window_.session().edit;
    edit.beginChange();
    {
        FunctionParametersWindow functions(window_.session(), &window_);
        functions.exec();
    }
    const CamProgram& p = window_.session().program;
    edit.endChange({StepLabel::Kind::Functions, p.CurrentFormat, p.CurrentCam, 0, 0});
    window_.redrawFormat();
}

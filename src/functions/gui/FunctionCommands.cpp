#include "functions/gui/FunctionCommands.h"

#include "functions/gui/FunctionParametersWindow.h"
#include "shell/gui/MainWindow.h"

#include <QAction>

FunctionCommands::FunctionCommands(MainWindow& window) : QObject(&window), window_(window) {
    connect(window.actions().Fu_Set, &QAction::triggered, this, &FunctionCommands::openFunctions);
}

void FunctionCommands::openFunctions() {
    window_.hideEditors();
    {
        FunctionParametersWindow functions(window_.session(), &window_);
        functions.exec();
    }
    window_.redrawFormat();
}

#include "model/gui/CamAndFormatCommands.h"

#include "editor/gui/CamCommands.h"
#include "functions/gui/FunctionCommands.h"
#include "model/gui/FormatCommands.h"
#include "shell/gui/MainWindow.h"

void InstallCamAndFormatCommands(MainWindow& window) {
    // Each command group is a child of the window and lives as long as it.
    new FormatCommands(window);
    new CamCommands(window);
    new FunctionCommands(window);
}

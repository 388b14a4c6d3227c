#include "shell/gui/Subsystems.h"

#include "compare/gui/CompareCommands.h"
#include "editor/gui/CamCommands.h"
#include "editor/gui/CamEditor.h"
#include "flash/gui/FlashCommands.h"
#include "functions/gui/FunctionCommands.h"
#include "link/gui/LinkCommands.h"
#include "link/gui/TransferCommands.h"
#include "model/gui/FileCommands.h"
#include "model/gui/FormatCommands.h"
#include "print/gui/PrintCommands.h"
#include "shell/gui/MainWindow.h"
#include "timing/gui/TimingCommands.h"

void InstallSubsystems(MainWindow& window) {
    // Each one is a child of the window, built from it, and lives as long as it.
    new CamEditor(window);
    new FileCommands(window);
    new PrintCommands(window);
    new FormatCommands(window);
    new CamCommands(window);
    new FunctionCommands(window);
    new LinkCommands(window);
    new TransferCommands(window);
    new FlashCommands(window);
    new CompareCommands(window);
    new TimingCommands(window);
}

#include "shell/gui/Subsystems.h"

#include "editor/gui/CamEditor.h"
#include "flash/gui/FlashCommands.h"
#include "link/gui/LinkCommands.h"
#include "link/gui/TransferCommands.h"
#include "model/gui/CamAndFormatCommands.h"
#include "model/gui/FileCommands.h"
#include "print/gui/PrintCommands.h"
#include "shell/gui/MainWindow.h"

void InstallSubsystems(MainWindow& window) {
    Q_UNUSED(window);
    PrintCommands::Install(window);
    new FlashCommands(window);
    FileCommands::Install(window);
    CamEditor::Install(window);
    InstallCamAndFormatCommands(window);
    LinkCommands::Install(window);
    TransferCommands::Install(window);
}

#include "shell/gui/Subsystems.h"

#include "shell/gui/MainWindow.h"

void InstallSubsystems(MainWindow& window) {
    Q_UNUSED(window);
}

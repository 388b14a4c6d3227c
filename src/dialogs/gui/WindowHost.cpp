#include "dialogs/gui/WindowHost.h"

#include <QWidget>

QString WindowHost::windowTitle() {
    return window()->windowTitle();
}

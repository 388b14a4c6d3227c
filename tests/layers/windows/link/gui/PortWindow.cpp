// A window may use the session (one layer down), never the main window above its folder.
#include "shell/Session.h"
#include "shell/gui/MainWindow.h"

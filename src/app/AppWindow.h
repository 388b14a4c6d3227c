#pragma once

#include "shell/gui/MainWindow.h"

// The main window of q517 with every part installed: the one place that knows them all. Each
// part is built from the window's host, becomes the host's child and lives as long as it.
class AppWindow : public MainWindow {
public:
    explicit AppWindow(Session& session, QWidget* parent = nullptr);
};

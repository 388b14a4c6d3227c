#pragma once

class MainWindow;

// Gives every subsystem its part of the main window: the editor its panel, and each
// command group the menu entries and toolbar buttons it handles. One line per subsystem.
void InstallSubsystems(MainWindow& window);

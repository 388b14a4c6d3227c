#pragma once

class MainWindow;

// Connects the Sizes menu (format and cam commands), the toolbar's format buttons and
// Fu&nctions to their handlers.
void InstallCamAndFormatCommands(MainWindow& window);

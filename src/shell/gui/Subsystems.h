#pragma once

class MainWindow;

// Gives every subsystem its part of the main window, one way for all: a subsystem is a class
// whose constructor takes the MainWindow, makes itself the window's child and connects its
// handlers to window.actions(). One line per subsystem.
void InstallSubsystems(MainWindow& window);

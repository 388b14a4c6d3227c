#pragma once

class QWidget;

// Centres the window horizontally on its screen and puts it near the top edge, where the
// port and flash windows stand clear of the main window's drawing.
void PlaceWindow(QWidget* window);

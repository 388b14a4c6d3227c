#pragma once

class QWidget;

// Window placement and the one-time scaling of a window drawn for a fixed design width.
namespace WindowGeometry {
constexpr int TwipsPerPixel = 15;
// The main window was drawn for this width.
constexpr int DesignWidthTwips = 9690;

inline int TwipsToPixels(double twips) {
    return int(twips / TwipsPerPixel + 0.5);
}

// Places the window in the middle of the screen it is on.
void CenterWindow(QWidget* window);
// A control with this property set to true (the editor's entry fields, shown only while a
// phase is typed) is scaled but never made visible by ScaleWindow.
constexpr const char* HiddenAtStart = "q517HiddenAtStart";

// A window manager cuts a title that does not fit the frame ("CAM... FACE"): the window is
// made at least as wide as its title in a bold face, with room for the frame's icon and
// buttons. Call it after the title is set.
void KeepTitleWhole(QWidget* window);

// The lowest edge of the controls placed in window, hidden ones included: the height the
// window was drawn for.
int PlacedBottom(const QWidget* window);

// Multiplies position, size and font size of every absolutely placed control of the
// window by factor; with makeVisible set, each scaled control is shown (except those marked
// HiddenAtStart). Controls placed by a layout keep theirs.
void ScaleWindow(QWidget* window, double factor, bool makeVisible);
} // namespace WindowGeometry

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
inline double PixelsToTwips(int pixels) {
    return double(pixels) * TwipsPerPixel;
}

// Places the window in the middle of the screen it is on.
void CenterWindow(QWidget* window);
// A control with this property set to true (the editor's entry fields, shown only while a
// phase is typed) is scaled but never made visible by ScaleWindow.
constexpr const char* HiddenAtStart = "q517HiddenAtStart";

// Multiplies position, size and font size of every absolutely placed control of the
// window by factor; with makeVisible set, each scaled control is shown (except those marked
// HiddenAtStart). Controls placed by a layout keep theirs.
void ScaleWindow(QWidget* window, double factor, bool makeVisible);
} // namespace WindowGeometry

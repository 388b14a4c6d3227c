#pragma once

class QWidget;

// Window placement and the one-time scaling of a window drawn for a fixed design width.
namespace WindowGeometry {
constexpr int TwipsPerPixel = 15;
// The main window was drawn for this width.
constexpr int DesignWidthTwips = 9690;

inline int TwipsToPixels(double twips) { return int(twips / TwipsPerPixel + 0.5); }
inline double PixelsToTwips(int pixels) { return double(pixels) * TwipsPerPixel; }

// Places the window in the middle of the screen it is on.
void CenterWindow(QWidget* window);
// Multiplies position, size and font size of every child of the window by factor; with
// makeVisible set, each scaled control is shown. Children placed by a layout keep theirs.
void ScaleWindow(QWidget* window, double factor, bool makeVisible);
} // namespace WindowGeometry

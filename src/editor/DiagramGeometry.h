#pragma once

// Where the cam diagram's parts sit, and where a degree lands inside a bar. Shared by the
// painting of the diagram and by the tests, so both agree to the pixel.
#include <vector>

namespace DiagramGeometry {

constexpr int Rows = 24; // the largest cam count: one row per cam
constexpr int LastDegree = 359;
// The cam name column (its header, the names, the rename field): it starts clear of the
// "360" scale caption, which is centred on the bars' right end.
constexpr int NameLeft = 6120;
constexpr int NameWidth = 1800;

// A rectangle in twips of the design layout (15 twips make one pixel at 96 dots per inch).
struct TwipsRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// A vertical line of the 45-degree grid, in twips.
struct GridLine {
    int x = 0;
    int top = 0;
    int bottom = 0;
};

// Row 1..24: the framed 360-degree bar, the row number caption (which also covers the bar,
// so a click anywhere on the bar selects the cam) and the cam name caption.
TwipsRect BarTwips(int row);
TwipsRect NumberTwips(int row);
TwipsRect NameTwips(int row);
// Scale caption 0..4 ("0", "90", "180", "270", "360"), centred on the bar's quarter points.
TwipsRect ScaleCaptionTwips(int index);
// Grid line 0..6, at 45, 90, ... 315 degrees.
GridLine GridLineTwips(int index);

// A bar in pixels as it stands on the screen (after any scaling of the window).
struct BarBox {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// Inclusive pixel range.
struct Span {
    int first = 0;
    int last = 0;
};

// Pixels per degree: the bar less the frame margins, shared out over 359 steps.
double DegreeScale(int barWidth, int rowMargin);
// Degree d of a bar whose left edge is left.
int DegreeToX(int left, double degreeScale, int degree);
// An angle between whole degrees (where a cam switches at speed, the shaft's cursor), given in
// tenths of a degree 0..3599, on the same scale.
int TenthsToX(int left, double degreeScale, int tenths);
// The inverse for the mouse: the position 0..360 whose DegreeToX is nearest to pixel x, where
// 360 is the bar's end, just past degree 359 (an OFF angle there reads 000).
int XToPosition(int left, double degreeScale, int x);

constexpr int SnapDegrees = 5;
// With Shift held a position goes to the nearest multiple of five degrees.
int Snapped(int position);
// The position 0..360 under pixel x of a bar whose left edge is left, snapped with Shift.
int PositionAt(int left, double degreeScale, int x, bool snap);

// How a painted run of ON degrees sits on the circle: it starts at degree 0, ends with
// degree 359, or lies inside.
enum class RunPlace { FromZero, ToEnd, Inside };

// The horizontal pixels painted for the ON degrees first..last (inclusive).
Span RunSpan(const BarBox& bar, double degreeScale, int rowMargin, RunPlace place, int first,
             int last);
// The row's background inside the frame, and the strip blanked for a row without a cam.
Span BackgroundSpan(const BarBox& bar, int rowMargin);
Span BlankRowSpan(const BarBox& bar, int rowMargin);
// The vertical pixels every painted rectangle of the row covers.
Span RowBand(const BarBox& bar, int rowMargin);

struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

// True when pixel (x, y) lies on the bar, frame included.
bool BarContains(const BarBox& bar, int x, int y);
// The column of one degree under the pointer, from the first bar down to the last used one.
PixelRect ReadoutColumn(const BarBox& first, const BarBox& last, double degreeScale, int degree);
// The frames round a phase a drag is about to enter, inside the bar's own frame: one for a
// phase that ends before 360, two (its end run and its start run) for one through 0.
std::vector<PixelRect> PhaseFrames(const BarBox& bar, double degreeScale, int on, int off);

// The format stepper: the left (previous) and right (next) arrow halves in its own pixels.
PixelRect StepperLeftHalf(int width, int height);
PixelRect StepperRightHalf(int width, int height);
// True when a press at x (stepper pixels) is on the left half.
bool StepperPressIsLeft(int x, int width);

} // namespace DiagramGeometry

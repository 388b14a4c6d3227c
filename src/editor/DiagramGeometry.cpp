#include "editor/DiagramGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace DiagramGeometry {

namespace {
constexpr int RowPitch = 180;
constexpr int BarLeft = 495;
constexpr int BarTop = 405;
constexpr int BarWidth = 5400;
constexpr int BarHeight = 135;
constexpr int CaptionTop = 360;

int rowOffset(int row) {
    return RowPitch * (std::clamp(row, 1, Rows) - 1);
}
int roundHalfUp(double v) {
    return int(std::floor(v + 0.5));
}
} // namespace

TwipsRect BarTwips(int row) {
    return {BarLeft, BarTop + rowOffset(row), BarWidth, BarHeight};
}

TwipsRect NumberTwips(int row) {
    return {180, CaptionTop + rowOffset(row), 5800, 180};
}

TwipsRect NameTwips(int row) {
    return {NameLeft, CaptionTop + rowOffset(row), NameWidth, 195};
}

TwipsRect ScaleCaptionTwips(int index) {
    const int i = std::clamp(index, 0, 4);
    return {345 + 1350 * i, 45, 300, 225};
}

GridLine GridLineTwips(int index) {
    const int i = std::clamp(index, 0, 6);
    // The lines at 90, 180 and 270 degrees stop below their scale captions.
    const bool underCaption = i % 2 == 1;
    return {1170 + 675 * i, underCaption ? 270 : 135, 4700};
}

double DegreeScale(int barWidth, int rowMargin) {
    return (barWidth - 2.3 * rowMargin) / 359.0;
}

int DegreeToX(int left, double degreeScale, int degree) {
    return left + roundHalfUp(degree * degreeScale);
}

int TenthsToX(int left, double degreeScale, int tenths) {
    return left + roundHalfUp(tenths * degreeScale / 10.0);
}

int XToPosition(int left, double degreeScale, int x) {
    if (degreeScale <= 0)
        return 0;
    const int guess = std::clamp(roundHalfUp((x - left) / degreeScale), 0, LastDegree + 1);
    // Rounding both ways can land one off where two degrees share a pixel: take the nearest.
    int best = guess;
    for (int p : {guess - 1, guess + 1}) {
        if (p < 0 || p > LastDegree + 1)
            continue;
        if (std::abs(DegreeToX(left, degreeScale, p) - x) <
            std::abs(DegreeToX(left, degreeScale, best) - x))
            best = p;
    }
    return best;
}

int Snapped(int position) {
    return std::clamp((position + SnapDegrees / 2) / SnapDegrees * SnapDegrees, 0, LastDegree + 1);
}

int PositionAt(int left, double degreeScale, int x, bool snap) {
    const int position = XToPosition(left, degreeScale, x);
    return snap ? Snapped(position) : position;
}

Span RunSpan(const BarBox& bar, double degreeScale, int rowMargin, RunPlace place, int first,
             int last) {
    switch (place) {
    case RunPlace::FromZero:
        return {DegreeToX(bar.left, degreeScale, first), DegreeToX(bar.left, degreeScale, last)};
    case RunPlace::ToEnd:
        return {DegreeToX(bar.left, degreeScale, first),
                bar.left + roundHalfUp(degreeScale * LastDegree)};
    case RunPlace::Inside:
        break;
    }
    return {bar.left + roundHalfUp(first * degreeScale + rowMargin),
            bar.left + roundHalfUp(last * degreeScale + rowMargin)};
}

Span BackgroundSpan(const BarBox& bar, int rowMargin) {
    return {bar.left + rowMargin, bar.left + bar.width - 2 * rowMargin};
}

Span BlankRowSpan(const BarBox& bar, int rowMargin) {
    return {bar.left, bar.left + bar.width - 2 * rowMargin};
}

Span RowBand(const BarBox& bar, int rowMargin) {
    return {bar.top + rowMargin, bar.top + bar.height - 2 * rowMargin};
}

bool BarContains(const BarBox& bar, int x, int y) {
    return x >= bar.left && x < bar.left + bar.width && y >= bar.top && y < bar.top + bar.height;
}

PixelRect ReadoutColumn(const BarBox& first, const BarBox& last, double degreeScale, int degree) {
    return {DegreeToX(first.left, degreeScale, degree), first.top,
            std::max(1, roundHalfUp(degreeScale)), last.top + last.height - first.top};
}

std::vector<PixelRect> PhaseFrames(const BarBox& bar, double degreeScale, int on, int off) {
    auto frame = [&](int from, int to) {
        const int left = DegreeToX(bar.left, degreeScale, from);
        const int right = std::max(left, DegreeToX(bar.left, degreeScale, to) - 1);
        return PixelRect{left, bar.top + 1, right - left + 1, bar.height - 2};
    };
    if (off > on)
        return {frame(on, off)};
    std::vector<PixelRect> frames{frame(on, LastDegree + 1)};
    if (off > 0)
        frames.push_back(frame(0, off));
    return frames;
}

PixelRect StepperLeftHalf(int width, int height) {
    const int right = roundHalfUp(width / 2.0) - 1;
    return {0, 1, std::max(0, right + 1), std::max(0, height - 1)};
}

PixelRect StepperRightHalf(int width, int height) {
    const int left = width / 2 + 3;
    return {left, 1, std::max(0, width - left), std::max(0, height - 1)};
}

bool StepperPressIsLeft(int x, int width) {
    return x < width / 2.0;
}

} // namespace DiagramGeometry

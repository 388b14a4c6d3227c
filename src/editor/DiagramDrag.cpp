#include "editor/DiagramDrag.h"

#include "editor/DiagramGeometry.h"
#include "model/NumberForms.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace DiagramDrag {

namespace {
constexpr int Full = CamProgram::Degrees;

// A phase along an unrolled circle: start..end-1 with start in 0..359 and end above start.
int unrolledEnd(const Phase& p) {
    return p.Off > p.On ? p.Off : p.Off + Full;
}

// The smallest value at or above floor that is congruent to angle on the circle.
int firstAtOrAbove(int angle, int floor) {
    int v = angle + ((floor - angle) / Full) * Full;
    while (v < floor)
        v += Full;
    while (v - Full >= floor)
        v -= Full;
    return v;
}

int lastAtOrBelow(int angle, int ceiling) {
    return firstAtOrAbove(angle, ceiling - Full + 1);
}
} // namespace

std::optional<Phase> DrawnPhase(int press, int release, bool crossedEnd) {
    press = std::clamp(press, 0, Full);
    release = std::clamp(release, 0, Full);
    if (press == release)
        return std::nullopt;
    if (release < press && crossedEnd) {
        const Phase through{press % Full, release};
        if (through.On == through.Off)
            return std::nullopt;
        return through;
    }
    const int low = std::min(press, release);
    const int high = std::max(press, release);
    // A typed OFF angle stops at 359: the whole bar is entered as 0..359, never 0..0 (a delete).
    if (low == 0 && high == Full)
        return Phase{0, Full - 1};
    return Phase{low, high % Full};
}

int EdgePosition(const Phase& phase, Edge edge) {
    if (edge == Edge::On)
        return phase.On;
    return phase.Off == 0 ? Full : phase.Off;
}

std::optional<Grip> GripAt(const std::vector<Phase>& phases, int left, double degreeScale, int x) {
    std::optional<Grip> best;
    int bestDistance = INT_MAX;
    for (const Phase& phase : phases) {
        for (Edge edge : {Edge::On, Edge::Off}) {
            const int at = DiagramGeometry::DegreeToX(left, degreeScale, EdgePosition(phase, edge));
            const int distance = std::abs(at - x);
            if (distance <= EdgeReachPixels && distance < bestDistance) {
                bestDistance = distance;
                best = Grip{phase, edge};
            }
        }
    }
    return best;
}

Phase DraggedPhase(const std::vector<Phase>& phases, const Grip& grip, int position) {
    const int start = grip.phase.On;
    const int end = unrolledEnd(grip.phase);
    // The nearest phase edges around the gripped phase; with no other phase, its own other
    // edge one turn away.
    int previousEnd = end - Full;
    int nextStart = start + Full;
    for (const Phase& other : phases) {
        if (other == grip.phase)
            continue;
        previousEnd = std::max(previousEnd, lastAtOrBelow(unrolledEnd(other) % Full, start));
        nextStart = std::min(nextStart, firstAtOrAbove(other.On, end));
    }
    position = std::clamp(position, 0, Full);
    if (grip.edge == Edge::On) {
        const int on = std::clamp(position, previousEnd + 1, end - 1);
        return Phase{(on % Full + Full) % Full, end % Full};
    }
    // The OFF edge of a phase through 0 sits on the left part of the bar, one turn on.
    const int turn = end - EdgePosition(grip.phase, Edge::Off);
    const int off = std::clamp(position + turn, start + 1, nextStart - 1);
    return Phase{start, off % Full};
}

QString PointerDegrees(const std::optional<Grip>& grip, int press,
                       const std::optional<Phase>& preview) {
    auto angle = [](int position) { return NumberForms::ThreeDigits(position % Full); };
    if (grip)
        return angle(EdgePosition(preview ? *preview : grip->phase, grip->edge));
    const Phase shown = preview ? *preview : Phase{press, press};
    return angle(shown.On) + QString::fromUtf8(" \u2192 ") + angle(shown.Off);
}

QString Readout(int cam, int degree) {
    return QStringLiteral("C ") + NumberForms::TwoDigits(cam) + QStringLiteral(" \u00B7 ") +
           NumberForms::ThreeDigits(degree) + QChar(0x00B0);
}

} // namespace DiagramDrag

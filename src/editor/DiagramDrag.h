#pragma once

#include "model/CamProgram.h"

#include <QString>

#include <optional>
#include <vector>

// What the mouse does on a cam's bar, apart from any widget. Positions are 0..360 along the
// bar (XToPosition): a degree, or 360 for the bar's end just past degree 359.
namespace DiagramDrag {

// How close to a phase's edge a press must be to grip that edge.
constexpr int EdgeReachPixels = 2;

// The phase a drag draws from press to release (positions). A drag to the left is entered
// through 0 (press..release) only when the pointer went past the bar's end on its way; any
// other drag takes min..max. A press and release at the same position is a click and draws
// nothing, so a click can never delete a phase.
std::optional<Phase> DrawnPhase(int press, int release, bool crossedEnd);

enum class Edge { On, Off };
// One edge of one phase, gripped by the mouse.
struct Grip {
    Phase phase;
    Edge edge = Edge::On;
};

// Where the edge sits along the bar: the ON angle, or the OFF angle with 360 for a phase
// that ends with degree 359.
int EdgePosition(const Phase& phase, Edge edge);

// The edge within EdgeReachPixels of pixel x on a bar whose left edge is left, the nearest
// one first; nothing when no edge is that close.
std::optional<Grip> GripAt(const std::vector<Phase>& phases, int left, double degreeScale, int x);

// The gripped phase once its edge is dragged to position. The edge stops one degree short
// of the phase's other edge and of a neighbouring phase, so the phase keeps at least one
// degree and never merges with or trims another.
Phase DraggedPhase(const std::vector<Phase>& phases, const Grip& grip, int position);

// The degrees shown beside the pointer: while it draws, ON and the OFF it has reached
// ("030 → 090", the press twice before it moved); while it drags an edge, where that edge is.
QString PointerDegrees(const std::optional<Grip>& grip, int press,
                       const std::optional<Phase>& preview);

// What the pointer is over: "C 05 · 127°".
QString Readout(int cam, int degree);

} // namespace DiagramDrag

#pragma once

#include "editor/DiagramGeometry.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

// One run of ON degrees as the diagram paints it: first..last inclusive, never wrapping.
struct PaintedRun {
    int first = 0;
    int last = 0;
    DiagramGeometry::RunPlace place = DiagramGeometry::RunPlace::Inside;
    bool operator==(const PaintedRun& o) const {
        return first == o.first && last == o.last && place == o.place;
    }
};

// What one cam row shows: the runs to paint and, for the current cam, the phase list items.
struct CamRowContent {
    std::vector<PaintedRun> runs;
    QStringList items;
};

// Walks the 360 degree states of a cam the way its row is drawn. The phase through 0 is
// always item F001 (an OFF of 000 means the run ends with degree 359, a full circle reads
// F001 000 360); the other phases follow by increasing ON angle. Painting alone needs no
// item texts: withItems false leaves them out, which keeps a full redraw cheap.
CamRowContent WalkCamRow(const uint8_t* degrees, bool withItems = true);

// "F002 090 180": the ordinal, ON and OFF angles as three digits.
QString PhaseItemText(int ordinal, int on, int off);
// The ON (characters 6..8) and OFF (characters 10..12) angle texts of a phase list item.
QString ItemOnText(const QString& item);
QString ItemOffText(const QString& item);

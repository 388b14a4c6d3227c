#pragma once

#include "model/CamProgram.h"

#include <QString>

#include <cstdint>
#include <vector>

// How a cam's 360 degree states (1 = on) turn into what is printed: the phases of the listing
// and the bars of the diagram. Both walks start with the run that holds degree 0 or 359, so a
// phase through 0 degrees comes first.
namespace PrintedPhases {

// The listing's phases in print order: ON angle and OFF angle, 0..360. The run through
// 0 degrees comes first as trail..lead ("350 010"); the full circle is 0..360.
std::vector<Phase> ListingPhases(const uint8_t* degrees);

// "   350 010 - 100 200": three spaces before the first phase, " - " between phases,
// each angle in three digits. Empty for a cam with no on degree.
QString PhaseLine(const uint8_t* degrees);

// One bar of the diagram, from degree From to degree To (x = x0 + degree * s). The bar
// holding degree 0 reaches its first off degree; the others end at their last on degree.
struct Bar {
    int From = 0;
    int To = 0;
    bool operator==(const Bar& o) const { return From == o.From && To == o.To; }
};
std::vector<Bar> DiagramBars(const uint8_t* degrees);

} // namespace PrintedPhases

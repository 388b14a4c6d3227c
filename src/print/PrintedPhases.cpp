#include "print/PrintedPhases.h"

#include "model/NumberForms.h"

namespace PrintedPhases {

namespace {

constexpr int Degrees = CamProgram::Degrees;

// The first off degree counting up from 0; 360 when every degree is on.
int firstOffFromZero(const uint8_t* d) {
    int e = 0;
    while (e < Degrees && d[e])
        ++e;
    return e;
}

// The first degree of the on-run that ends at 359; 0 when every degree is on.
int startOfRunAt359(const uint8_t* d) {
    int t = Degrees - 1;
    while (t > 0 && d[t - 1])
        --t;
    return t;
}

// The runs strictly inside first..last, each as its first on degree and the degree just
// after it; a run still on at last ends at last + 1.
template <typename Found> void scanRuns(const uint8_t* d, int first, int last, Found found) {
    int start = -1;
    for (int a = first; a <= last; ++a) {
        const bool on = d[a] != 0;
        const bool before = d[a - 1] != 0;
        if (on && !before)
            start = a;
        else if (!on && before && start >= 0) {
            found(start, a);
            start = -1;
        }
    }
    if (start >= 0)
        found(start, last + 1);
}

} // namespace

std::vector<Phase> ListingPhases(const uint8_t* d) {
    std::vector<Phase> phases;
    const int lead = d[0] ? firstOffFromZero(d) : 0;
    const int trail = d[Degrees - 1] ? startOfRunAt359(d) : 0;
    if (lead != 0 || trail != 0)
        phases.push_back({trail, lead});
    // A run still on when the scan stops at 358 is off at 359.
    const int last = trail == 0 ? Degrees - 2 : trail - 1;
    scanRuns(d, lead + 1, last, [&](int on, int off) { phases.push_back({on, off}); });
    return phases;
}

QString PhaseLine(const uint8_t* degrees) {
    QString line;
    for (const Phase& p : ListingPhases(degrees)) {
        line += line.isEmpty() ? QStringLiteral("   ") : QStringLiteral(" - ");
        line += NumberForms::ThreeDigits(p.On) + QLatin1Char(' ') + NumberForms::ThreeDigits(p.Off);
    }
    return line;
}

std::vector<Bar> DiagramBars(const uint8_t* d) {
    std::vector<Bar> bars;
    int e = 0;
    if (d[0]) {
        e = firstOffFromZero(d);
        bars.push_back({0, e});
    }
    int t = 0;
    if (d[Degrees - 1]) {
        t = startOfRunAt359(d);
        bars.push_back({t, Degrees - 1});
    }
    const int last = t == 0 ? Degrees - 2 : t - 1;
    // Inner bars end at their last on degree: one degree before the off degree.
    scanRuns(d, e + 1, last, [&](int on, int off) { bars.push_back({on, off - 1}); });
    return bars;
}

} // namespace PrintedPhases

#include "editor/CamRowWalk.h"

#include "model/NumberForms.h"

using DiagramGeometry::RunPlace;

namespace {
constexpr int Degrees = 360;
constexpr int Last = Degrees - 1;
} // namespace

QString PhaseItemText(int ordinal, int on, int off) {
    return QLatin1Char('F') + NumberForms::ThreeDigits(ordinal) + QLatin1Char(' ') +
           NumberForms::ThreeDigits(on) + QLatin1Char(' ') + NumberForms::ThreeDigits(off);
}

QString ItemOnText(const QString& item) {
    return item.mid(5, 3);
}

QString ItemOffText(const QString& item) {
    return item.mid(9, 3);
}

CamRowContent WalkCamRow(const uint8_t* d, bool withItems) {
    CamRowContent row;
    // S: the first OFF degree of a run that starts at 0 (360 for a full circle).
    int s = 0;
    if (d[0]) {
        while (s < Degrees && d[s])
            ++s;
        row.runs.push_back({0, s - 1, RunPlace::FromZero});
    }
    // R: the first degree of a run that ends with 359 (0 for a full circle).
    int r = 0;
    if (d[Last]) {
        int k = Last;
        while (k >= 0 && d[k])
            --k;
        r = k + 1;
        row.runs.push_back({r, Last, RunPlace::ToEnd});
    }
    if (withItems && (r != 0 || s != 0))
        row.items.append(PhaseItemText(1, r, s));

    const int end = r != 0 ? r : Last;
    bool on = false;
    int start = 0;
    auto close = [&](int off) {
        row.runs.push_back({start, off - 1, RunPlace::Inside});
        if (withItems)
            row.items.append(PhaseItemText(int(row.items.size()) + 1, start, off));
    };
    for (int f = s + 1; f < end; ++f) {
        if (bool(d[f]) == on)
            continue;
        on = d[f];
        if (on)
            start = f;
        else
            close(f);
    }
    if (on)
        close(end);
    return row;
}

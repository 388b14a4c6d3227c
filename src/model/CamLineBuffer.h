#pragma once

#include <QString>

#include <array>

// The lines of one cam while they are built for the cam file or the line: entry 0 the cam
// header, entries 1.. the phase lines, then one empty entry that ends the list. 183 entries
// hold the header, the 180 phases a cam can have, and the end mark.
struct CamLineBuffer {
    static constexpr int Entries = 183;
    std::array<QString, Entries> Lines;

    // The entries from 0 up to, not including, the first empty one.
    int Count() const {
        int n = 0;
        while (n < Entries && !Lines[n].isEmpty())
            ++n;
        return n;
    }
};

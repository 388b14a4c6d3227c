#pragma once

#include <QString>

class PrintSurface;

// Where a print job goes: the current printer or a PDF file in the program, a recording
// surface in the tests.
class PrintTarget {
public:
    virtual ~PrintTarget() = default;
    // A fresh surface for one job, or null when there is nothing to print on (the operator
    // declined, or the output could not start and the operator has been told why). The
    // surface belongs to the target and stays valid until the next beginJob.
    virtual PrintSurface* beginJob() = 0;
    // Why the last job could not be finished (a PDF file on a full disk), for the operator;
    // empty when there is nothing more to say.
    virtual QString failure() const { return QString(); }
};

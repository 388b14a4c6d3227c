#pragma once

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
};

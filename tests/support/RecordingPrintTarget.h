#pragma once

#include "print/PrintTarget.h"
#include "support/RecordingPrintSurface.h"

#include <memory>

// Print jobs onto recording surfaces; declining gives no surface, as a cancelled file
// choice does in the program.
class RecordingPrintTarget : public PrintTarget {
public:
    PrintSurface* beginJob() override {
        ++jobs;
        if (decline)
            return nullptr;
        surface = std::make_unique<RecordingPrintSurface>(pageWidth, pageHeight);
        surface->failEndJob = failEndJob;
        return surface.get();
    }

    int pageWidth = 11906;
    int pageHeight = 16838;
    bool decline = false;
    bool failEndJob = false;
    int jobs = 0;
    std::unique_ptr<RecordingPrintSurface> surface; // the last job's
};

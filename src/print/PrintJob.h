#pragma once

#include <functional>

class CamProgram;
class LanguageTexts;
class PrintSurface;

// One press of Print: one format, or every format one page each, as a listing or as a
// diagram, then the end of the job.
namespace PrintJob {

// A format number as typed, brought into 1..FormatCount.
int CorrectedFormat(long long typed, int formatCount);

struct Request {
    bool allFormats = false;
    int format = 1; // when not allFormats; corrected into 1..FormatCount before printing
    bool graphic = false;
};

// Prints and ends the job, its headers in the language of texts. formatPrinted runs after
// each format of a print-all. False when the surface could not complete the output.
bool Print(PrintSurface& surface, const CamProgram& program, const Request& request,
           const LanguageTexts& texts, const std::function<void(int format)>& formatPrinted = {});

} // namespace PrintJob

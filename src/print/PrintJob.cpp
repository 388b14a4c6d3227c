#include "print/PrintJob.h"

#include "model/CamProgram.h"
#include "print/FormatDiagram.h"
#include "print/FormatListing.h"
#include "print/PrintSurface.h"

#include <algorithm>

namespace PrintJob {

int CorrectedFormat(long long typed, int formatCount) {
    return int(std::clamp<long long>(typed, 1, std::max(1, formatCount)));
}

static void printFormat(PrintSurface& surface, const CamProgram& program, int format, bool graphic,
                        const LanguageTexts& texts) {
    if (graphic)
        FormatDiagram(surface, program, texts).PrintFormatDiagram(format);
    else
        FormatListing::PrintFormatListing(surface, program, format, texts);
}

bool Print(PrintSurface& surface, const CamProgram& program, const Request& request,
           const LanguageTexts& texts, const std::function<void(int)>& formatPrinted) {
    if (!request.allFormats) {
        printFormat(surface, program, CorrectedFormat(request.format, program.FormatCount()),
                    request.graphic, texts);
    } else {
        for (int format = 1; format <= program.FormatCount(); ++format) {
            // One page per format, and no empty page after the last one.
            if (format > 1)
                surface.newPage();
            printFormat(surface, program, format, request.graphic, texts);
            if (formatPrinted)
                formatPrinted(format);
        }
    }
    return surface.endJob();
}

} // namespace PrintJob

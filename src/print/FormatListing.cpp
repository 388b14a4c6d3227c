#include "print/FormatListing.h"

#include "model/CamProgram.h"
#include "model/NumberForms.h"
#include "print/PrintSurface.h"
#include "print/PrintedPhases.h"

#include <algorithm>

namespace FormatListing {

QString ListingHeader(const CamProgram& program, int format) {
    QString header = QStringLiteral(" 517Q") + NumberForms::TwoDigits(program.FormatCount()) +
                     QString(15, QLatin1Char(' ')) + QStringLiteral("FORMATO N. ") +
                     NumberForms::TwoDigits(format);
    if (!program.CurrentFileName.isEmpty())
        header += QStringLiteral("  [File:") + program.CurrentFileName + QLatin1Char(']');
    return header.left(HeaderLength);
}

QString CamTitle(int cam, const QString& name) {
    QString title = QStringLiteral("C ") + NumberForms::TwoDigits(cam);
    const bool onlySpaces =
        std::all_of(name.begin(), name.end(), [](QChar ch) { return ch == QLatin1Char(' '); });
    if (!onlySpaces)
        title += QStringLiteral("   \"") + name + QLatin1Char('"');
    return title;
}

void PrintFormatListing(PrintSurface& surface, const CamProgram& program, int format) {
    const bool emphasis = surface.emphasis();
    const int ruleY = surface.currentY();
    surface.line(0, ruleY, surface.pageWidth(), ruleY);
    surface.endLine();
    surface.setEmphasis(true);
    surface.print(ListingHeader(program, format), true);
    for (int cam = 1; cam <= program.CamCount(); ++cam) {
        surface.setEmphasis(true);
        // Before the first cam this leaves an empty line; later it ends the last phase line.
        surface.endLine();
        surface.print(CamTitle(cam, program.CamName(cam)), true);
        surface.setEmphasis(false);
        const QString phases = PrintedPhases::PhaseLine(program.CamDegrees(format, cam));
        if (!phases.isEmpty())
            surface.print(phases, false);
    }
    surface.setEmphasis(emphasis);
}

} // namespace FormatListing

#include "print/FormatListing.h"

#include "model/CamProgram.h"
#include "model/LanguageTexts.h"
#include "model/NumberForms.h"
#include "print/PrintSurface.h"
#include "print/PrintedPhases.h"

#include <algorithm>

namespace FormatListing {

QString FormatAndFile(const CamProgram& program, int format, const LanguageTexts& texts) {
    QString text = texts.Text(309) + NumberForms::TwoDigits(format);
    if (!program.CurrentFileName.isEmpty())
        text +=
            QStringLiteral("  [") + texts.Text(331) + program.CurrentFileName + QLatin1Char(']');
    return text;
}

QString ListingHeader(const CamProgram& program, int format, const LanguageTexts& texts) {
    const QString header = QStringLiteral(" 517Q") + NumberForms::TwoDigits(program.FormatCount()) +
                           QString(15, QLatin1Char(' ')) + FormatAndFile(program, format, texts);
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

// The phase line, one phase at a time. A cam with many phases would run past the right edge
// and lose them on paper, so a phase that does not fit starts a new line, again after three
// spaces.
static void printPhases(PrintSurface& surface, const std::vector<Phase>& phases) {
    const QString lineStart = QStringLiteral("   ");
    bool first = true;
    for (const Phase& phase : phases) {
        const QString angles = NumberForms::ThreeDigits(phase.On) + QLatin1Char(' ') +
                               NumberForms::ThreeDigits(phase.Off);
        QString piece = (first ? lineStart : QStringLiteral(" - ")) + angles;
        if (!first && surface.currentX() + surface.textWidth(piece) > surface.pageWidth()) {
            surface.endLine();
            piece = lineStart + angles;
        }
        surface.print(piece, false);
        first = false;
    }
}

void PrintFormatListing(PrintSurface& surface, const CamProgram& program, int format,
                        const LanguageTexts& texts) {
    const bool emphasis = surface.emphasis();
    const int ruleY = surface.currentY();
    surface.line(0, ruleY, surface.pageWidth(), ruleY);
    surface.endLine();
    surface.setEmphasis(true);
    surface.print(ListingHeader(program, format, texts), true);
    for (int cam = 1; cam <= program.CamCount(); ++cam) {
        surface.setEmphasis(true);
        // Before the first cam this leaves an empty line; later it ends the last phase line.
        surface.endLine();
        surface.print(CamTitle(cam, program.CamName(cam)), true);
        surface.setEmphasis(false);
        printPhases(surface, PrintedPhases::ListingPhases(program.CamDegrees(format, cam)));
    }
    surface.setEmphasis(emphasis);
}

} // namespace FormatListing

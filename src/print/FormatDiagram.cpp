#include "print/FormatDiagram.h"

#include "model/CamProgram.h"
#include "model/NumberForms.h"
#include "print/FormatListing.h"
#include "print/PrintSurface.h"
#include "print/PrintedPhases.h"

#include <cmath>

namespace {

// Drawing attributes: labels, ticks and the track frame are thin; the bars are drawn wide
// and filled so they stand out from the frame.
constexpr int ThinPen = 2;
constexpr int WidePen = 4;
constexpr int HollowFill = 1;
constexpr int BarFill = 7;

constexpr int ScaleStep = 45;
// The degree labels are centred on their tick, and their line sits this far above the
// gap of the first row.
constexpr int ScaleLabelShift = 150;
constexpr int ScaleLift = 40;

} // namespace

QString FormatDiagram::DiagramHeader(const CamProgram& program, int format,
                                     const LanguageTexts& texts) {
    const QString header = QStringLiteral(" C") + NumberForms::TwoDigits(program.CamCount()) +
                           QStringLiteral(" -") + NumberForms::TwoDigits(program.FormatCount()) +
                           QString(15, QLatin1Char(' ')) +
                           FormatListing::FormatAndFile(program, format, texts);
    return header.left(FormatListing::HeaderLength);
}

QString FormatDiagram::RowLabel(int cam, const QString& name) {
    return QStringLiteral("C ") + NumberForms::TwoDigits(cam) + QStringLiteral("  \"") +
           name.leftJustified(NameWidth, QLatin1Char(' '), true) + QLatin1Char('"');
}

int FormatDiagram::TrackStart(int labelEnd, int pageWidth) {
    return labelEnd + pageWidth / 40;
}

int FormatDiagram::DegreeStep(int trackStart, int pageWidth) {
    return (pageWidth - trackStart - pageWidth / 30) / (CamProgram::Degrees - 1);
}

void FormatDiagram::PrintFormatDiagram(int format) {
    const bool emphasis = surface_.emphasis();
    surface_.setEmphasis(true);
    surface_.endLine();
    surface_.print(DiagramHeader(program_, format, texts_), true);
    surface_.endLine();
    surface_.endLine();

    const int cams = program_.CamCount();
    const int topMargin = surface_.currentY();
    const int usable = surface_.pageHeight() - 2 * topMargin;
    // 11 for 8 cams, 22 for 16, 34 for 24: the tracks take about 70% of the usable height.
    const int rowsDivisor = int(std::lrint(cams * 1.4));
    PrintRowHeight = usable / rowsDivisor;
    PrintRowGap = (surface_.pageHeight() - (2 * topMargin + PrintRowHeight * cams)) / (cams + 1);

    for (int cam = 1; cam <= cams; ++cam)
        PrintCamRow(format, cam);
    surface_.setEmphasis(emphasis);
}

void FormatDiagram::PrintCamRow(int format, int cam) {
    surface_.setDrawWidth(ThinPen);
    surface_.setCurrentX(0);
    surface_.print(RowLabel(cam, program_.CamName(cam)), false);
    const int rowTextY = surface_.currentY();

    const int pageWidth = surface_.pageWidth();
    const int x0 = TrackStart(surface_.currentX(), pageWidth);
    const int s = DegreeStep(x0, pageWidth);
    const int y = rowTextY - PrintRowHeight / 2 + PrintRowGap;

    if (cam == 1) {
        surface_.setCurrentY(rowTextY - (2 * PrintRowGap + ScaleLift));
        for (int k = 1; k <= 7; ++k) {
            surface_.setCurrentX(x0 + ScaleStep * k * s - ScaleLabelShift);
            surface_.print(NumberForms::ThreeDigits(ScaleStep * k), false);
        }
    }
    for (int k = 1; k <= 7; ++k) {
        const int x = x0 + ScaleStep * k * s;
        surface_.line(x, y - PrintRowGap, x, y);
    }

    const int trackEnd = x0 + (CamProgram::Degrees - 1) * s;
    surface_.setFillStyle(HollowFill);
    surface_.rectangle(x0, y, trackEnd, y + PrintRowHeight);

    surface_.setFillStyle(BarFill);
    surface_.setDrawWidth(WidePen);
    for (const PrintedPhases::Bar& bar :
         PrintedPhases::DiagramBars(program_.CamDegrees(format, cam)))
        surface_.rectangle(x0 + bar.From * s, y, x0 + bar.To * s, y + PrintRowHeight);

    // The next label goes one track and one gap further down, so the tracks follow each
    // other as the page plan laid them out and the last one stays above the bottom margin.
    surface_.setCurrentX(0);
    surface_.setCurrentY(rowTextY + PrintRowHeight + PrintRowGap);
}

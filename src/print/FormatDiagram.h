#pragma once

#include <QString>

class CamProgram;
class LanguageTexts;
class PrintSurface;

// The timing diagram of one format: one track per cam from 0 to 359 degrees with the cam's
// phases as bars, ticks every 45 degrees and a degree scale above the first track. All
// values are twips.
class FormatDiagram {
public:
    static constexpr int NameWidth = 14;

    FormatDiagram(PrintSurface& surface, const CamProgram& program, const LanguageTexts& texts)
        : surface_(surface), program_(program), texts_(texts) {}

    // " C24 -06               FORMATO N. 03  [File:...]", cut to 80 characters, in the
    // operator's language.
    static QString DiagramHeader(const CamProgram& program, int format, const LanguageTexts& texts);
    // "C 07  \"" + the name padded or cut to 14 characters + "\"".
    static QString RowLabel(int cam, const QString& name);

    // The left end of the track (0 degrees) after a label ending at labelEnd, and the
    // whole number of twips per degree that keeps the track inside the page.
    static int TrackStart(int labelEnd, int pageWidth);
    static int DegreeStep(int trackStart, int pageWidth);

    // Prints format 1..FormatCount from the current position; starts no page and ends
    // no job.
    void PrintFormatDiagram(int format);
    // One row; leaves the text position where the next row's label goes.
    void PrintCamRow(int format, int cam);

    // The page plan of the last PrintFormatDiagram: track height and the gap above each
    // track that holds its ticks.
    int PrintRowHeight = 0;
    int PrintRowGap = 0;

private:
    PrintSurface& surface_;
    const CamProgram& program_;
    const LanguageTexts& texts_;
};

#pragma once

#include <QString>

class CamProgram;
class LanguageTexts;
class PrintSurface;

// The text listing of one format: a rule across the page, the header, and for each cam its
// title line (emphasised) and its phase line.
namespace FormatListing {

constexpr int HeaderLength = 80;

// " 517Q06               FORMATO N. 03  [File:/cams/press.CAM]", cut to 80 characters; the
// words "FORMATO N. " and "File:" are the operator's language's (texts 309 and 331).
QString ListingHeader(const CamProgram& program, int format, const LanguageTexts& texts);
// "FORMATO N. 03  [File:/cams/press.CAM]": the part of the header the diagram shares.
QString FormatAndFile(const CamProgram& program, int format, const LanguageTexts& texts);

// "C 07" and, when the name is more than spaces, three spaces and the name as stored in
// double quotes: "C 07   \"  AB\"".
QString CamTitle(int cam, const QString& name);

// Prints format 1..FormatCount from the current position; starts no page and ends no job.
void PrintFormatListing(PrintSurface& surface, const CamProgram& program, int format,
                        const LanguageTexts& texts);

} // namespace FormatListing

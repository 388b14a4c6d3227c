#pragma once

#include <QString>

class CommonDialog;
class LanguageTexts;
class Prompts;

// The image chosen last and its folder, kept while the program runs (never in the options
// file) so the next update starts where the operator left off.
struct HexFileMemory {
    QString HexFilePath;
    QString HexLastDirectory; // HexFilePath without its file name, separator kept
};

namespace HexFileChoice {
// A file name this long or longer is refused: the window is not opened.
constexpr int MaxTitleLength = 250;

// Shows the open dialog for an image. True when a file was chosen and the update window
// may open; a cancel empties HexFilePath. The process's current directory is restored.
bool ChooseHexFile(CommonDialog& dialog, Prompts& prompts, const LanguageTexts& texts,
                   HexFileMemory& memory);
} // namespace HexFileChoice

#pragma once

#include <QString>

#include <cstdint>

// The surface of the firmware update window as the check and the update use it: texts at
// fixed pixel positions (left and top edge) in a fixed-pitch font, the ready indicator and
// the progress bar. The window draws on a picture; the tests and q517-cli record or print.
class FlashView {
public:
    static constexpr uint32_t Black = 0x000000;
    static constexpr uint32_t Blue = 0x0000FF;
    static constexpr uint32_t Green = 0x00FF00;
    static constexpr uint32_t Red = 0xFF0000;

    struct Style {
        int points = 11;
        bool bold = false;
        uint32_t rgb = Black;
        bool operator==(const Style& o) const {
            return points == o.points && bold == o.bold && rgb == o.rgb;
        }
    };
    static constexpr Style Regular11{11, false, Black};
    static constexpr Style Regular12{12, false, Black};
    static constexpr Style Bold12{12, true, Black};
    static constexpr Style BlueBold12{12, true, Blue};

    virtual ~FlashView() = default;
    // Draws text with its top-left corner at (x, y); a text drawn earlier at the same
    // position is erased first, so a changing field is redrawn in place.
    virtual void drawText(int x, int y, const QString& text, const Style& style) = 0;
    // Shows the ready indicator LedConn filled with the colour.
    virtual void showLed(uint32_t rgb) = 0;
    // Draws the progress bar Barra at percent (0-100).
    virtual void drawProgress(int percent) = 0;
    // Makes what was drawn visible now: the update runs without returning to the event loop.
    virtual void repaint() = 0;
    // Closes the window; the run is over.
    virtual void closeWindow() = 0;
};

// Where the texts of the update window go: a grid of 18-pixel rows.
namespace FlashLayout {
constexpr int ClientWidth = 674;  // 10110 twips
constexpr int ClientHeight = 280; // 4200 twips
constexpr int RowHeight = 18;

struct Spot {
    int x, y;
};
constexpr Spot WorkingFile{10, 15};
constexpr Spot TestingRow{10, 36};
constexpr Spot TestedLines{140, 36};
constexpr Spot TestedBytes{340, 36};
constexpr Spot TagRow{10, 4 * RowHeight};
constexpr Spot ChipErased{10, 96};
constexpr Spot TransmitRow{10, 144};
constexpr Spot SentLines{160, 144};
constexpr Spot SentBytes{320, 144};
constexpr Spot Address{460, 144};
constexpr Spot Elapsed{250, 180};
constexpr Spot Result{10, 220};
} // namespace FlashLayout

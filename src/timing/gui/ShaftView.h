#pragma once

#include "timing/ShaftTiming.h"

#include <QPixmap>
#include <QWidget>

#include <cstdint>
#include <vector>

// Shaft: the format's diagram as the editor draws it (one bar per cam under the 0..360 scale),
// with each cam's phases where they really switch at speed outlined over the programmed ones,
// and the virtual shaft's cursor across every row. The two layers of phases change only with
// the program, format or speed, so they are painted once into a picture that each frame of the
// turning shaft copies before drawing the cursor.
class ShaftView : public QWidget {
    Q_OBJECT
public:
    explicit ShaftView(QWidget* parent = nullptr);

    // degrees: CamCount·360 states of the format; timing: the same cams at speed.
    void setFormat(std::vector<uint8_t> degrees, const ShaftTiming::FormatTiming& timing);
    // The cursor, in thousandths of a degree.
    void setCursor(long long angleMilli);

    // Where row 1..24 and the cursor are, in this widget's pixels (for tests).
    QRect barBox(int row) const;
    int cursorX() const;

    QSize sizeHint() const override;

    // The colour of the phases at speed.
    static QColor AtSpeedInk();

signals:
    // Left or right arrow: one degree back or on.
    void stepRequested(int degrees);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void paintLayers();

    std::vector<uint8_t> degrees_;
    std::vector<std::vector<std::pair<int, int>>> atSpeed_; // per cam: tenths on, off
    long long cursor_ = 0;
    QPixmap layers_;
};

#pragma once

#include <QHash>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

// The update window's text area: a white picture that keeps what was drawn on it (so a
// repaint after being covered shows it again), texts placed at pixel positions (left and
// top edge) in a fixed-pitch font, and each field erased before its new value is drawn.
class FlashTextArea : public QWidget {
    Q_OBJECT
public:
    struct Style {
        int points = 11;
        bool bold = false;
        QRgb rgb = 0x000000;
    };
    static constexpr Style Regular11{11, false, 0x000000};
    static constexpr Style Regular12{12, false, 0x000000};
    static constexpr Style Bold12{12, true, 0x000000};
    static constexpr Style BlueBold12{12, true, 0x0000FF};
    static constexpr Style RedBold12{12, true, 0xFF0000};

    // 10110 x 4200 twips at 15 twips per pixel.
    static constexpr int ClientWidth = 674;
    static constexpr int ClientHeight = 280;

    explicit FlashTextArea(QWidget* parent = nullptr);

    void drawText(int x, int y, const QString& text, const Style& style);
    // The text now shown with its corner at (x, y); empty when none.
    QString textAt(int x, int y) const { return texts_.value(QPoint(x, y)); }
    const QImage& picture() const { return picture_; }

    static QFont FixedFont(const Style& style);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
    QHash<QPoint, QString> texts_;
    QHash<QPoint, QRect> drawnRects_;
};

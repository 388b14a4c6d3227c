#pragma once

#include "flash/FlashView.h"

#include <QHash>
#include <QImage>
#include <QPoint>
#include <QRect>
#include <QWidget>

// The update window's text area: a white picture that keeps what was drawn on it (so a
// repaint after being covered shows it again), texts placed at pixel positions in a
// fixed-pitch font, and each field erased before its new value is drawn.
class FlashTextArea : public QWidget {
    Q_OBJECT
public:
    explicit FlashTextArea(QWidget* parent = nullptr);

    void drawText(int x, int y, const QString& text, const FlashView::Style& style);
    // The text now shown with its corner at (x, y); empty when none.
    QString textAt(int x, int y) const { return texts_.value(QPoint(x, y)); }
    const QImage& picture() const { return picture_; }

    static QFont FixedFont(const FlashView::Style& style);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage picture_;
    QHash<QPoint, QString> texts_;
    QHash<QPoint, QRect> drawnRects_;
};

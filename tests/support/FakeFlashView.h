#pragma once

#include "flash/FlashView.h"

#include <QList>
#include <QMap>
#include <QPair>
#include <QString>

#include <functional>

// The update window's surface as a record: every text drawn (in order), what each position
// shows now, the indicator colours, the progress values and whether the window closed.
class FakeFlashView : public FlashView {
public:
    struct Drawn {
        int x, y;
        QString text;
        Style style;
    };
    void drawText(int x, int y, const QString& text, const Style& style) override {
        drawn.append({x, y, text, style});
        shown[{x, y}] = text;
        if (onDraw)
            onDraw(drawn.last());
    }
    void showLed(uint32_t rgb) override { leds.append(rgb); }
    void drawProgress(int percent) override { progress.append(percent); }
    void repaint() override { ++repaints; }
    void closeWindow() override { ++closed; }

    // The texts drawn at one position, in order.
    QStringList at(int x, int y) const {
        QStringList texts;
        for (const Drawn& d : drawn) {
            if (d.x == x && d.y == y)
                texts.append(d.text);
        }
        return texts;
    }
    QString now(int x, int y) const { return shown.value({x, y}); }

    QList<Drawn> drawn;
    QMap<QPair<int, int>, QString> shown;
    QList<uint32_t> leds;
    QList<int> progress;
    int repaints = 0;
    int closed = 0;
    std::function<void(const Drawn&)> onDraw;
};

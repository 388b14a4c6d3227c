#pragma once

#include <QWidget>

#include <array>
#include <cstdint>

// Rows: one cam of two programs, A above B, drawn as the diagram draws a cam row (same bar
// size, colours and degree scale) under the diagram's 0..360 scale, with the degrees where
// they differ marked in red between them.
class CamPairView : public QWidget {
    Q_OBJECT
public:
    explicit CamPairView(QWidget* parent = nullptr);

    void setCams(const uint8_t* a, const uint8_t* b);
    void clearCams();

    // The bars' boxes in this widget's pixels (for tests and the difference strip).
    QRect barA() const;
    QRect barB() const;
    QRect strip() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool shown_ = false;
    std::array<uint8_t, 360> a_{};
    std::array<uint8_t, 360> b_{};
};

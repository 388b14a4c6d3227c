#pragma once

#include <QStringList>
#include <QWidget>

#include <vector>

// Lamps: one lamp per cam with its number and name, lit while the cam's output is on at the
// shaft's angle at speed; eight to a line, as the controller's outputs come in eights.
class OutputLamps : public QWidget {
    Q_OBJECT
public:
    explicit OutputLamps(QWidget* parent = nullptr);

    void setCams(const QStringList& names);
    // One state per cam; repaints only when one changed.
    void setLit(const std::vector<bool>& lit);
    const std::vector<bool>& lit() const { return lit_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect cell(int index) const;

    QStringList names_;
    std::vector<bool> lit_;
};

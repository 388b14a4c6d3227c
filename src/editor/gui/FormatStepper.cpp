#include "editor/gui/FormatStepper.h"

#include "editor/DiagramGeometry.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOption>

namespace {
QRect toRect(const DiagramGeometry::PixelRect& r) {
    return QRect(r.x, r.y, r.width, r.height);
}
} // namespace

FormatStepper::FormatStepper(QWidget* parent) : QWidget(parent) {}

void FormatStepper::drawStepper(Half pressed) {
    if (pressed_ == pressed)
        return;
    pressed_ = pressed;
    update();
}

void FormatStepper::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const struct {
        DiagramGeometry::PixelRect area;
        QStyle::PrimitiveElement arrow;
        bool pushed;
    } halves[] = {
        {DiagramGeometry::StepperLeftHalf(width(), height()), QStyle::PE_IndicatorArrowLeft,
         pressed_ == Half::Left},
        {DiagramGeometry::StepperRightHalf(width(), height()), QStyle::PE_IndicatorArrowRight,
         pressed_ == Half::Right},
    };
    for (const auto& half : halves) {
        QStyleOptionButton option;
        option.initFrom(this);
        option.rect = toRect(half.area);
        option.state |= half.pushed ? QStyle::State_Sunken : QStyle::State_Raised;
        style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter, this);
        if (half.pushed)
            option.rect.translate(1, 1);
        option.rect.adjust(3, 2, -3, -2);
        style()->drawPrimitive(half.arrow, &option, &painter, this);
    }
}

void FormatStepper::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    event->accept();
    if (DiagramGeometry::StepperPressIsLeft(int(event->position().x()), width())) {
        drawStepper(Half::Left);
        emit previousRequested();
    } else {
        drawStepper(Half::Right);
        emit nextRequested();
    }
}

void FormatStepper::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    drawStepper(Half::None);
}

// The mouse on the cam bars: the degree readout, drawing a phase and dragging its edges.
#include "editor/gui/CamEditor.h"

#include "dialogs/gui/WindowHost.h"
#include "editor/DiagramGeometry.h"
#include "editor/gui/CamEditorLayout.h"
#include "editor/gui/ClickableLabel.h"
#include "shell/Session.h"

#include <QApplication>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

#include <algorithm>

using namespace DiagramGeometry;
using namespace CamEditorLayout;

bool CamEditor::eventFilter(QObject* watched, QEvent* event) {
    if (drag_ && !drag_->cancelled) {
        switch (event->type()) {
        case QEvent::KeyPress:
            if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
                cancelDrag();
                return true;
            }
            break;
        // A modal window or another application took over halfway through the drag.
        case QEvent::WindowBlocked:
        case QEvent::WindowDeactivate:
            cancelDrag();
            break;
        default:
            break;
        }
    }
    const auto number = std::find(numbers_.begin(), numbers_.end(), watched);
    if (number == numbers_.end())
        return QWidget::eventFilter(watched, event);
    const int row = int(number - numbers_.begin()) + 1;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
        return barMouseEvent(row, static_cast<QMouseEvent*>(event));
    case QEvent::Leave:
        if (!drag_)
            showReadout(row, -1);
        break;
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}

int CamEditor::positionAt(int row, const QPoint& at, bool snap) const {
    return PositionAt(barBox(row).left, degreeScale(), at.x(), snap);
}

bool CamEditor::barMouseEvent(int row, QMouseEvent* event) {
    const QPoint at = numbers_[row - 1]->mapTo(this, event->position().toPoint());
    const bool snap = event->modifiers().testFlag(Qt::ShiftModifier);
    const bool onBar =
        row <= session_.program.CamCount() && BarContains(barBox(row), at.x(), at.y());
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        // The caption sees the press too: without a drag it stays a click on the row.
        if (event->button() == Qt::LeftButton && onBar)
            startDrag(row, at, snap);
        return false;
    case QEvent::MouseMove:
        if (drag_ && (event->buttons() & Qt::LeftButton)) {
            dragTo(at, event->globalPosition().toPoint(), snap);
            return false;
        }
        showReadout(row, onBar ? std::min(positionAt(row, at, false), LastDegree) : -1);
        return false;
    case QEvent::MouseButtonRelease: {
        if (event->button() != Qt::LeftButton || !drag_)
            return false;
        // The release point decides, with the keys held at that moment.
        dragTo(at, event->globalPosition().toPoint(), snap);
        const BarDrag drag = *drag_;
        endDrag();
        if (drag.cancelled)
            return true;
        // Released where it was pressed: a click, which the caption turns into a selection.
        if (!drag.preview)
            return false;
        enterDrag(drag);
        return true;
    }
    default:
        return false;
    }
}

bool CamEditor::startDrag(int row, const QPoint& at, bool snap) {
    const uint8_t* degrees = shownDegrees(row);
    if (!degrees)
        return false;
    BarDrag drag;
    drag.row = row;
    drag.press = positionAt(row, at, snap);
    drag.phases = ListPhasesOf(degrees);
    drag.grip = DiagramDrag::GripAt(drag.phases, barBox(row).left, degreeScale(), at.x());
    drag_ = drag;
    // Esc and a modal window reach the editor wherever the keyboard focus is.
    qApp->installEventFilter(this);
    return true;
}

void CamEditor::dragTo(const QPoint& at, const QPoint& global, bool snap) {
    if (drag_->cancelled)
        return;
    if (!window()->rect().contains(window()->mapFromGlobal(global))) {
        cancelDrag();
        return;
    }
    const BarBox bar = barBox(drag_->row);
    if (at.x() >= bar.left + bar.width)
        drag_->crossedEnd = true;
    const int position = positionAt(drag_->row, at, snap);
    std::optional<Phase> preview;
    if (position != drag_->press) {
        if (drag_->grip)
            preview = DiagramDrag::DraggedPhase(drag_->phases, *drag_->grip, position);
        else
            preview = DiagramDrag::DrawnPhase(drag_->press, position, drag_->crossedEnd);
    }
    showReadout(drag_->row, std::min(position, LastDegree));
    if (preview == drag_->preview) {
        showPointerDegrees(at);
        return;
    }
    drag_->preview = preview;
    showPointerDegrees(at);
    update(toRect(bar));
}

void CamEditor::enterDrag(const BarDrag& drag) {
    // The dragged cam becomes current first: the entry is a step of its own history.
    selectCam(drag.row);
    if (drag.grip) {
        if (*drag.preview == drag.grip->phase)
            return;
        session_.edit.movePhase(drag.grip->phase, *drag.preview);
    } else {
        session_.edit.enterPhase(drag.preview->On, drag.preview->Off);
    }
    // Through the window, so that its status bar shows the program unsaved.
    window_->drawCamRow(drag.row);
}

void CamEditor::cancelDrag() {
    if (!drag_)
        return;
    drag_->cancelled = true;
    drag_->preview.reset();
    if (pointerDegrees_)
        pointerDegrees_->hide();
    qApp->removeEventFilter(this);
    update(toRect(barBox(drag_->row)));
    showReadout(drag_->row, -1);
}

void CamEditor::endDrag() {
    if (!drag_)
        return;
    const int row = drag_->row;
    drag_.reset();
    if (pointerDegrees_)
        pointerDegrees_->hide();
    qApp->removeEventFilter(this);
    update(toRect(barBox(row)));
}

void CamEditor::showPointerDegrees(const QPoint& at) {
    if (!pointerDegrees_) {
        pointerDegrees_ = new QLabel(this);
        pointerDegrees_->setObjectName(QStringLiteral("DragDegrees"));
        pointerDegrees_->setFont(fixedFont(12));
        pointerDegrees_->setAutoFillBackground(true);
        pointerDegrees_->setFrameShape(QFrame::Box);
        pointerDegrees_->setAttribute(Qt::WA_TransparentForMouseEvents);
    }
    pointerDegrees_->setText(
        DiagramDrag::PointerDegrees(drag_->grip, drag_->press, drag_->preview));
    pointerDegrees_->adjustSize();
    // Above and right of the pointer, kept inside the editor.
    const QSize size = pointerDegrees_->size();
    const int x = std::clamp(at.x() + 12, 0, std::max(0, width() - size.width()));
    const int y = std::clamp(at.y() - size.height() - 4, 0, std::max(0, height() - size.height()));
    pointerDegrees_->move(x, y);
    pointerDegrees_->show();
    pointerDegrees_->raise();
}

void CamEditor::showReadout(int row, int degree) {
    const QString text = degree < 0 ? QString() : DiagramDrag::Readout(row, degree);
    if (degree == readoutDegree_ && text == readoutText_)
        return;
    if (readoutDegree_ >= 0)
        update(readoutColumn(readoutDegree_));
    readoutDegree_ = degree;
    readoutText_ = text;
    if (degree >= 0)
        update(readoutColumn(degree));
    emit degreeReadout(readoutText_);
}

// Painting the cam rows: the format's captions and rows, the current cam's phase list, the
// bars, a drag's preview and the readout's degree column.
#include "editor/gui/CamEditor.h"

#include "editor/CamRowWalk.h"
#include "editor/DiagramGeometry.h"
#include "editor/gui/CamBarPainter.h"
#include "editor/gui/CamEditorLayout.h"
#include "editor/gui/ClickableLabel.h"
#include "model/NumberForms.h"
#include "shell/Session.h"

#include <QFrame>
#include <QLabel>
#include <QListWidget>
#include <QPaintEvent>
#include <QPainter>

#include <algorithm>
#include <cstring>

using namespace DiagramGeometry;
using namespace CamEditorLayout;

namespace {
const QColor PreviewFrame(255, 0, 0);
}

const uint8_t* CamEditor::shownDegrees(int cam) const {
    const CamProgram& p = session_.program;
    if (!p.IsValidFormat(p.CurrentFormat) || !p.IsValidCam(cam))
        return nullptr;
    return p.CamDegrees(p.CurrentFormat, cam);
}

BarBox CamEditor::barBox(int row) const {
    // Where the frame stands on the screen, after the window's one-time scaling.
    const QRect g = bars_[row - 1]->geometry();
    return {g.x(), g.y(), g.width(), g.height()};
}

void CamEditor::ShowFormat() {
    CamProgram& p = session_.program;
    formatCaption_->setText(session_.Text(74) + NumberForms::TwoDigits(p.CurrentFormat));
    camCaption_->setText(QStringLiteral("C ") + NumberForms::TwoDigits(p.CurrentCam));
    for (int row = 1; row <= Rows; ++row) {
        const bool used = row <= p.CamCount();
        bars_[row - 1]->setVisible(used);
        numbers_[row - 1]->setVisible(used);
        names_[row - 1]->setVisible(used);
        if (used)
            DrawCamRow(row);
    }
    if (!p.IsValidCam(p.CurrentCam)) {
        phaseList_->clear();
        phaseCount_->setText(session_.Text(17) + NumberForms::ThreeDigits(0));
    }
    update();
}

void CamEditor::DrawCamRow(int cam) {
    const uint8_t* degrees = shownDegrees(cam);
    if (!degrees)
        return;
    const CamProgram& p = session_.program;
    const bool current = cam == p.CurrentCam;

    ClickableLabel* name = names_[cam - 1];
    QPalette palette = name->palette();
    palette.setColor(QPalette::Window, CamBarBackground(current));
    palette.setColor(QPalette::WindowText, CamBarInk(current));
    name->setPalette(palette);
    name->setText(p.CamName(cam));

    if (current) {
        const CamRowContent content = WalkCamRow(degrees);
        fillPhaseList(content.items);
        phaseCount_->setText(session_.Text(17) +
                             NumberForms::ThreeDigits(int(content.items.size())));
    }
    update(toRect(barBox(cam)));
}

void CamEditor::fillPhaseList(const QStringList& items) {
    // Items are reused rather than rebuilt: stepping through cams of 180 phases each must
    // not cost a new list every time.
    while (phaseList_->count() > items.size())
        delete phaseList_->takeItem(phaseList_->count() - 1);
    for (int i = 0; i < phaseList_->count(); ++i) {
        QListWidgetItem* item = phaseList_->item(i);
        if (item->text() != items.at(i))
            item->setText(items.at(i));
    }
    if (phaseList_->count() < items.size())
        phaseList_->addItems(items.mid(phaseList_->count()));
    phaseList_->clearSelection();
}

double CamEditor::degreeScale() const {
    return DegreeScale(bars_[0]->width(), CamBarMargin);
}

void CamEditor::paintEvent(QPaintEvent* event) {
    QPainter painter(this);
    painter.fillRect(event->rect(), palette().window());
    const double scale = degreeScale();
    for (int row = 1; row <= Rows; ++row) {
        if (toRect(barBox(row)).intersects(event->rect()))
            paintRow(painter, row, scale);
    }
    if (readoutDegree_ >= 0)
        painter.fillRect(readoutColumn(readoutDegree_), QColor(255, 0, 0, 90));
}

void CamEditor::paintRow(QPainter& painter, int row, double degreeScale) const {
    const BarBox bar = barBox(row);
    const uint8_t* degrees = row <= session_.program.CamCount() ? shownDegrees(row) : nullptr;
    // While a drag is on this row it shows the cam as the release would leave it.
    const bool previewing =
        degrees && drag_ && drag_->row == row && drag_->preview && !drag_->cancelled;
    std::array<uint8_t, CamProgram::Degrees> preview{};
    if (previewing) {
        std::memcpy(preview.data(), degrees, preview.size());
        if (drag_->grip)
            MovePhaseOn(preview.data(), drag_->grip->phase, *drag_->preview);
        else
            SetPhaseOn(preview.data(), drag_->preview->On, drag_->preview->Off);
        degrees = preview.data();
    }
    PaintCamBar(painter, bar, degreeScale, degrees, row == session_.program.CurrentCam);
    if (previewing)
        paintPreview(painter, *drag_, degreeScale);
}

QRect CamEditor::readoutColumn(int degree) const {
    return toRect(ReadoutColumn(barBox(1), barBox(std::max(1, session_.program.CamCount())),
                                degreeScale(), degree));
}

void CamEditor::paintPreview(QPainter& painter, const BarDrag& drag, double scale) const {
    // A frame round the phase the release enters, over the row as it will look.
    for (const PixelRect& f :
         PhaseFrames(barBox(drag.row), scale, drag.preview->On, drag.preview->Off)) {
        const QRect r = toRect(f);
        painter.fillRect(QRect(r.left(), r.top(), r.width(), 1), PreviewFrame);
        painter.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), PreviewFrame);
        painter.fillRect(QRect(r.left(), r.top(), 1, r.height()), PreviewFrame);
        painter.fillRect(QRect(r.right(), r.top(), 1, r.height()), PreviewFrame);
    }
}

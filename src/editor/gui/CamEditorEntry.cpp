// The entry fields and the phase list: ON/OFF angles typed in GradiON/GradiOFF, a phase
// taken from FASE, a cam renamed in DEFINCAM.
#include "editor/gui/CamEditor.h"

#include "dialogs/gui/WindowHost.h"
#include "editor/CamRowWalk.h"
#include "editor/DiagramGeometry.h"
#include "editor/EntryRules.h"
#include "editor/gui/CamEditorLayout.h"
#include "editor/gui/EntryField.h"
#include "model/NumberForms.h"
#include "shell/Session.h"

#include <QLabel>
#include <QListWidget>

#include <algorithm>

using namespace DiagramGeometry;
using namespace CamEditorLayout;

namespace {
// The entry controls of the right-hand column and under the names, in twips of the design
// layout.
constexpr TwipsRect DegreeCaptionAt{8010, 1260, 1590, 225};
constexpr TwipsRect OnFieldAt{8010, 1500, 735, 315};
constexpr TwipsRect OffFieldAt{8865, 1500, 735, 315};
constexpr TwipsRect PhaseListAt{8010, 2130, 1590, 2250};
constexpr TwipsRect NameCaptionAt{NameLeft, 4800, NameWidth, 225};
constexpr TwipsRect NameFieldAt{NameLeft, 5040, NameWidth, 315};
} // namespace

void CamEditor::buildFields() {
    degreeCaption_ = new QLabel(QString(), this);
    degreeCaption_->setObjectName(QStringLiteral("LGRAD"));
    degreeCaption_->setFont(captionFont(degreeCaption_, 10));
    place(degreeCaption_, DegreeCaptionAt);
    hideUntilOpened(degreeCaption_);

    EntryField** angleFields[] = {&onField_, &offField_};
    const char* angleNames[] = {"GradiON", "GradiOFF"};
    const TwipsRect angleAt[] = {OnFieldAt, OffFieldAt};
    for (int i = 0; i < 2; ++i) {
        auto* field = new EntryField(this);
        field->setObjectName(QString::fromLatin1(angleNames[i]));
        field->setInputMask(QStringLiteral("999;_"));
        field->setFont(fixedFont(12));
        place(field, angleAt[i]);
        hideUntilOpened(field);
        connect(field, &QLineEdit::inputRejected, this,
                [this, field] { selectWholeTextWhenFull(field); });
        *angleFields[i] = field;
    }
    connect(onField_, &EntryField::gotFocus, this, &CamEditor::onOnGotFocus);
    connect(onField_, &EntryField::enterPressed, this, &CamEditor::onOnEnterOrTab);
    connect(onField_, &EntryField::tabPressed, this, &CamEditor::onOnEnterOrTab);
    connect(onField_, &EntryField::lostFocus, this, &CamEditor::onOnLostFocus);
    connect(offField_, &EntryField::gotFocus, this, &CamEditor::onOffGotFocus);
    connect(offField_, &EntryField::enterPressed, this, [this] { onOffEnterOrTab(true); });
    connect(offField_, &EntryField::tabPressed, this, [this] { onOffEnterOrTab(false); });
    connect(offField_, &EntryField::lostFocus, this, &CamEditor::onOffLostFocus);

    phaseList_ = new QListWidget(this);
    phaseList_->setObjectName(QStringLiteral("FASE"));
    phaseList_->setFont(fixedFont(11));
    phaseList_->setSelectionMode(QAbstractItemView::SingleSelection);
    // Every item has the same fixed-pitch text: the list is laid out from one item's size,
    // so refilling it with 180 phases on each redraw stays cheap.
    phaseList_->setUniformItemSizes(true);
    place(phaseList_, PhaseListAt);
    connect(phaseList_, &QListWidget::itemClicked, this, &CamEditor::onPhaseClicked);
    connect(phaseList_, &QListWidget::itemDoubleClicked, this, &CamEditor::onPhaseDoubleClicked);

    nameCaption_ = new QLabel(QString(), this);
    nameCaption_->setObjectName(QStringLiteral("LDEFINCAM"));
    nameCaption_->setFont(captionFont(nameCaption_, 10));
    place(nameCaption_, NameCaptionAt);
    hideUntilOpened(nameCaption_);

    nameField_ = new EntryField(this);
    nameField_->setObjectName(QStringLiteral("DEFINCAM"));
    nameField_->setMaxLength(CamProgram::MaxNameLength);
    nameField_->setFont(fixedFont(12));
    nameField_->setText(QStringLiteral("12345678901234"));
    place(nameField_, NameFieldAt);
    hideUntilOpened(nameField_);
    connect(nameField_, &EntryField::gotFocus, this, &CamEditor::onNameGotFocus);
    connect(nameField_, &EntryField::enterPressed, this, &CamEditor::onNameEnter);
    connect(nameField_, &EntryField::lostFocus, this, &CamEditor::commitName);
    // Tab leaves the name field like any other focus move.
    connect(nameField_, &EntryField::tabPressed, this, [this] { focusGoPrCam(); });
}
// ---- ON and OFF fields ---------------------------------------------------------------------

void CamEditor::onOnGotFocus() {
    hideNameField();
    if (editOnText_.isEmpty()) {
        editOnText_ = QStringLiteral("000");
        onField_->setText(editOnText_);
    }
    if (editOffText_.isEmpty()) {
        editOffText_ = QStringLiteral("000");
        offField_->setText(editOffText_);
    }
    onField_->selectAll();
}

void CamEditor::onOnEnterOrTab() {
    onField_->setText(EntryRules::ClampedAngleText(onField_->displayText()));
    focusField(offField_);
    onField_->deselect();
}

void CamEditor::onOnLostFocus() {
    if (onField_->isHidden())
        return;
    onField_->deselect();
    onField_->setText(EntryRules::ClampedAngleText(onField_->displayText()));
    editOnText_ = onField_->text();
    session_.program.MarkChanged();
}

void CamEditor::onOffGotFocus() {
    if (editOffText_.isEmpty()) {
        editOffText_ = QStringLiteral("000");
        offField_->setText(editOffText_);
    }
    offField_->selectAll();
}

void CamEditor::onOffEnterOrTab(bool enter) {
    offField_->setText(EntryRules::ClampedAngleText(offField_->displayText()));
    offField_->deselect();
    if (enter) {
        applyEntry();
        HideEditors();
        focusMainWindow();
    } else {
        // Leaving the OFF field applies the entry; the ON field then takes the next phase.
        focusField(onField_);
        if (!offField_->isHidden() && offField_->hasFocus())
            applyEntry();
    }
}

void CamEditor::onOffLostFocus() {
    if (offField_->isHidden())
        return;
    applyEntry();
}

void CamEditor::applyEntry() {
    CamProgram& p = session_.program;
    int on = EntryRules::AngleValue(onField_->displayText());
    int off = EntryRules::AngleValue(offField_->displayText());
    if (on > LastDegree) {
        on = LastDegree;
        onField_->setText(NumberForms::ThreeDigits(on));
    }
    off = std::min(off, LastDegree);
    // The field shows exactly the angle that goes into the cam.
    editOffText_ = NumberForms::ThreeDigits(off);
    offField_->setText(editOffText_);
    offField_->deselect();
    session_.edit.enterPhase(on, off);
    // Through the window, so that its status bar shows the program unsaved.
    window_->drawCamRow(p.CurrentCam);
}

void CamEditor::selectWholeTextWhenFull(EntryField* field) {
    // A digit refused because the field is full starts a new value instead.
    if (field->cursorPosition() >= 3)
        field->selectAll();
}

// ---- Phase list ----------------------------------------------------------------------------

void CamEditor::takeEntryTextsFrom(const QString& item) {
    editOnText_ = ItemOnText(item);
    editOffText_ = ItemOffText(item);
    onField_->setText(editOnText_);
    offField_->setText(editOffText_);
}

void CamEditor::onPhaseClicked(QListWidgetItem* item) {
    if (!item)
        return;
    onField_->show();
    offField_->show();
    listCaption_->show();
    degreeCaption_->show();
    takeEntryTextsFrom(item->text());
}

void CamEditor::onPhaseDoubleClicked(QListWidgetItem* item) {
    if (!item)
        return;
    onField_->show();
    offField_->show();
    degreeCaption_->show();
    offField_->setEnabled(true);
    takeEntryTextsFrom(item->text());
    focusField(onField_);
}

// ---- Cam names -----------------------------------------------------------------------------

void CamEditor::renameCam(int cam) {
    CamProgram& p = session_.program;
    if (!p.IsValidCam(cam))
        return;
    if (cam != p.CurrentCam)
        selectCam(cam);
    nameField_->setText(p.CamName(cam));
    nameField_->show();
    nameCaption_->show();
    focusField(nameField_);
}

void CamEditor::onNameGotFocus() {
    onField_->hide();
    offField_->hide();
    degreeCaption_->hide();
    nameField_->selectAll();
}

void CamEditor::onNameEnter() {
    CamProgram& p = session_.program;
    // Enter stores the typed text, even an empty one; leaving the field then keeps it.
    // Blanks around a typed name are the operator's slips: the field drops them.
    const QString typed = nameField_->text().trimmed();
    if (p.CamName(p.CurrentCam) != typed) {
        renameCurrentCam(typed);
        DrawCamRow(p.CurrentCam);
    }
    focusGoPrCam();
    if (nameField_->hasFocus())
        commitName();
    hideNameField();
}

void CamEditor::commitName() {
    CamProgram& p = session_.program;
    p.MarkChanged();
    const QString name = nameField_->text().trimmed();
    if (!name.isEmpty())
        renameCurrentCam(name);
    hideNameField();
    window_->drawCamRow(p.CurrentCam);
}

void CamEditor::renameCurrentCam(const QString& name) {
    CamProgram& p = session_.program;
    session_.edit.beginChange();
    p.SetCamName(p.CurrentCam, name);
    session_.edit.endChange({StepLabel::Kind::CamName, p.CurrentFormat, p.CurrentCam, 0, 0});
}

void CamEditor::hideNameField() {
    nameField_->hide();
    nameCaption_->hide();
}

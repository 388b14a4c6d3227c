#include "editor/gui/CamEditor.h"

#include "dialogs/gui/MainActions.h"
#include "dialogs/gui/WindowGeometry.h"
#include "dialogs/gui/WindowHost.h"
#include "editor/CamRowWalk.h"
#include "editor/DiagramGeometry.h"
#include "editor/EntryRules.h"
#include "editor/gui/CamEditorLayout.h"
#include "editor/gui/ClickableLabel.h"
#include "editor/gui/EntryField.h"
#include "editor/gui/FormatStepper.h"
#include "shell/Session.h"

#include <QAction>
#include <QListWidget>
#include <QMouseEvent>
#include <QShortcut>
#include <QToolBar>

using namespace DiagramGeometry;
using namespace CamEditorLayout;

namespace {
QString rowName(const char* base, int index) {
    return QString::fromLatin1(base) + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

// The controls of the right-hand column, in twips of the design layout.
constexpr TwipsRect FormatCaptionAt{8010, 45, 1590, 255};
constexpr TwipsRect StepperCaptionAt{8010, 330, 1590, 225};
constexpr TwipsRect StepperAt{8010, 570, 1590, 300};
constexpr TwipsRect CamCaptionAt{8010, 960, 1590, 255};
constexpr TwipsRect ListCaptionAt{8010, 1890, 1590, 225};
constexpr TwipsRect PhaseCountAt{8010, 4410, 1590, 225};
constexpr TwipsRect NameHeaderAt{NameLeft, 45, NameWidth, 225};
} // namespace

CamEditor::CamEditor(WindowHost& window) : QWidget(window.window()), session_(window.session()) {
    setObjectName(QStringLiteral("CamEditor"));
    // The background takes no focus: a click on it closes the fields without applying them.
    setFocusPolicy(Qt::NoFocus);
    setMinimumSize(WindowGeometry::TwipsToPixels(9690), WindowGeometry::TwipsToPixels(5400));
    buildRows();
    buildCaptions();
    buildFields();
    buildKeys();
    applyTexts();
    window.setCentralPart(this);
    connectTo(window);
}

void CamEditor::connectTo(WindowHost& window) {
    window_ = &window;
    selectSizeAction_ = window.actions().S_Sel;
    QAction* go = window.actions().GoPrCam;
    connect(go, &QAction::triggered, this, &CamEditor::editCurrentCam);
    for (QToolBar* bar : window.window()->findChildren<QToolBar*>()) {
        if (QWidget* button = bar->widgetForAction(go))
            goPrCam_ = button;
    }
    connect(&window, &WindowHost::redrawRequested, this, &CamEditor::ShowFormat);
    connect(&window, &WindowHost::hideEditorsRequested, this, &CamEditor::HideEditors);
    connect(&window, &WindowHost::camRowRedrawRequested, this, &CamEditor::DrawCamRow);
    connect(&window, &WindowHost::openEditorRequested, this, &CamEditor::openEditor);
    connect(&window, &WindowHost::textsChanged, this, &CamEditor::applyTexts);
    // The degree under the pointer, at the right end of the status bar.
    auto* readout = new QLabel(window.window());
    readout->setObjectName(QStringLiteral("StDegree"));
    readout->setFont(fixedFont(12));
    // Room for the widest readout, so the bar does not jump as the pointer moves.
    readout->setMinimumWidth(
        readout->fontMetrics().horizontalAdvance(DiagramDrag::Readout(24, 359)) + 8);
    window.addReadout(readout);
    connect(this, &CamEditor::degreeReadout, readout, &QLabel::setText);
}

void CamEditor::buildRows() {
    // Grid lines first, so the row captions stay on top of them for the mouse.
    for (int k = 0; k < 7; ++k) {
        const GridLine line = GridLineTwips(k);
        auto* w = new QFrame(this);
        w->setObjectName(rowName("Line1", k));
        w->setFrameShape(QFrame::VLine);
        w->setFrameShadow(QFrame::Plain);
        w->setLineWidth(1);
        w->setAttribute(Qt::WA_TransparentForMouseEvents);
        place(w, {line.x, line.top, WindowGeometry::TwipsPerPixel, line.bottom - line.top});
    }
    for (int row = 1; row <= Rows; ++row) {
        auto* bar = new QFrame(this);
        bar->setObjectName(rowName("BARRA", row));
        bar->setFrameShape(QFrame::Box);
        bar->setFrameShadow(QFrame::Plain);
        bar->setLineWidth(1);
        bar->setAttribute(Qt::WA_TransparentForMouseEvents);
        place(bar, BarTwips(row));
        bars_[row - 1] = bar;

        const QString number =
            row < 10 ? QLatin1Char(' ') + QString::number(row) : QString::number(row);
        auto* numberLabel = new ClickableLabel(number, this);
        numberLabel->setObjectName(rowName("Label1", row));
        numberLabel->setFont(fixedFont(10));
        numberLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        place(numberLabel, NumberTwips(row));
        connect(numberLabel, &ClickableLabel::clicked, this, [this, row] { selectCam(row); });
        connect(numberLabel, &ClickableLabel::doubleClicked, this,
                [this, row] { openEditor(row); });
        // The caption lies over the bar: the editor reads the mouse on the bar through it.
        numberLabel->setMouseTracking(true);
        numberLabel->installEventFilter(this);
        numbers_[row - 1] = numberLabel;

        auto* nameLabel = new ClickableLabel(QString(), this);
        nameLabel->setObjectName(rowName("LDefC", row));
        nameLabel->setFont(fixedFont(10));
        nameLabel->setAutoFillBackground(true);
        nameLabel->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
        place(nameLabel, NameTwips(row));
        connect(nameLabel, &ClickableLabel::clicked, this, [this, row] { selectCam(row); });
        connect(nameLabel, &ClickableLabel::doubleClicked, this, [this, row] { renameCam(row); });
        names_[row - 1] = nameLabel;
    }
}

void CamEditor::buildCaptions() {
    const char* scale[] = {"0", "90", "180", "270", "360"};
    for (int k = 0; k < 5; ++k) {
        auto* caption = new QLabel(QString::fromLatin1(scale[k]), this);
        caption->setObjectName(rowName("Label2", k));
        caption->setAlignment(Qt::AlignCenter);
        caption->setFont(captionFont(caption, 10));
        place(caption, ScaleCaptionTwips(k));
    }
    nameHeader_ = new QLabel(QStringLiteral("DEFINIZIONE"), this);
    nameHeader_->setObjectName(rowName("Label2", 5));
    nameHeader_->setFont(captionFont(nameHeader_, 10));
    place(nameHeader_, NameHeaderAt);

    formatCaption_ = new ClickableLabel(QString(), this);
    formatCaption_->setObjectName(QStringLiteral("LFORM"));
    formatCaption_->setFont(captionFont(formatCaption_, 12));
    place(formatCaption_, FormatCaptionAt);
    connect(formatCaption_, &ClickableLabel::doubleClicked, this, &CamEditor::chooseFormat);

    stepperCaption_ = new ClickableLabel(QString(), this);
    stepperCaption_->setObjectName(QStringLiteral("LbSpin"));
    stepperCaption_->setAlignment(Qt::AlignCenter);
    stepperCaption_->setFont(captionFont(stepperCaption_, 10));
    place(stepperCaption_, StepperCaptionAt);
    connect(stepperCaption_, &ClickableLabel::clicked, this, &CamEditor::chooseFormat);

    stepper_ = new FormatStepper(this);
    stepper_->setObjectName(QStringLiteral("Picture1"));
    place(stepper_, StepperAt);
    connect(stepper_, &FormatStepper::previousRequested, this, [this] { stepFormat(-1); });
    connect(stepper_, &FormatStepper::nextRequested, this, [this] { stepFormat(+1); });

    camCaption_ = new QLabel(QString(), this);
    camCaption_->setObjectName(QStringLiteral("FrC"));
    camCaption_->setFont(captionFont(camCaption_, 12));
    place(camCaption_, CamCaptionAt);

    listCaption_ = new QLabel(QString(), this);
    listCaption_->setObjectName(QStringLiteral("LGrONOF"));
    listCaption_->setFont(fixedFont(10));
    place(listCaption_, ListCaptionAt);

    phaseCount_ = new QLabel(QString(), this);
    phaseCount_->setObjectName(QStringLiteral("Tot_fasi"));
    phaseCount_->setFont(captionFont(phaseCount_, 10));
    place(phaseCount_, PhaseCountAt);
}

void CamEditor::buildKeys() {
    const struct {
        Qt::Key key;
        EntryRules::CamKey camKey;
    } keys[] = {
        {Qt::Key_PageUp, EntryRules::CamKey::PageUp},
        {Qt::Key_PageDown, EntryRules::CamKey::PageDown},
        {Qt::Key_End, EntryRules::CamKey::End},
        {Qt::Key_Home, EntryRules::CamKey::Home},
        {Qt::Key_Left, EntryRules::CamKey::Left},
        {Qt::Key_Right, EntryRules::CamKey::Right},
    };
    for (const auto& k : keys) {
        auto* shortcut = new QShortcut(QKeySequence(k.key), this);
        shortcut->setContext(Qt::WindowShortcut);
        const EntryRules::CamKey camKey = k.camKey;
        connect(shortcut, &QShortcut::activated, this, [this, camKey] {
            // Typing in the angle and name fields is never disturbed by the window keys.
            if (entryFieldHasFocus())
                return;
            const CamProgram& p = session_.program;
            selectCam(EntryRules::CamAfterKey(camKey, p.CurrentCam, p.CamCount()));
        });
    }
}

void CamEditor::applyTexts() {
    nameHeader_->setText(session_.Text(130));
    stepperCaption_->setText(session_.Text(131));
    nameCaption_->setText(session_.Text(132));
    degreeCaption_->setText(session_.Text(133));
    listCaption_->setText(session_.Text(250));
    ShowFormat();
}
// ---- Closing, opening, selecting -----------------------------------------------------------

void CamEditor::HideEditors() {
    // The field holding the focus goes last, so the focus never hops into another field
    // that is about to close (its focus handler would run for nothing).
    QWidget* all[] = {onField_, offField_, degreeCaption_, nameField_, nameCaption_};
    QWidget* focused = nullptr;
    for (QWidget* w : all) {
        if (w->hasFocus())
            focused = w;
        else
            w->hide();
    }
    if (focused)
        focused->hide();
}

void CamEditor::selectCam(int cam) {
    if (!session_.program.IsValidCam(cam))
        return;
    HideEditors();
    session_.edit.selectCam(cam);
    ShowFormat();
    focusGoPrCam();
}

void CamEditor::openEditor(int cam) {
    CamProgram& p = session_.program;
    if (!p.IsValidCam(cam))
        return;
    // The entry goes to the cam shown as current, with its own phases in the list.
    if (cam != p.CurrentCam) {
        session_.edit.selectCam(cam);
        ShowFormat();
    }
    onField_->setEnabled(true);
    offField_->setEnabled(true);
    onField_->show();
    offField_->show();
    degreeCaption_->show();
    const QString first = phaseList_->count() > 0 ? phaseList_->item(0)->text() : QString();
    if (first.isEmpty()) {
        editOnText_ = QStringLiteral("000");
        editOffText_ = QStringLiteral("000");
    } else {
        editOnText_ = ItemOnText(first);
        editOffText_ = ItemOffText(first);
    }
    onField_->setText(editOnText_);
    offField_->setText(editOffText_);
    focusField(onField_);
}

void CamEditor::editCurrentCam() {
    HideEditors();
    openEditor(session_.program.CurrentCam);
}

void CamEditor::stepFormat(int delta) {
    if (!session_.edit.selectFormat(session_.program.CurrentFormat + delta))
        return;
    ShowFormat();
}

void CamEditor::chooseFormat() {
    if (window_) {
        window_->hideEditors();
        if (selectSizeAction_)
            selectSizeAction_->trigger();
    } else {
        HideEditors();
    }
}

void CamEditor::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        HideEditors();
        event->accept();
        return;
    }
    QWidget::mousePressEvent(event);
}
// ---- Focus ------------------------------------------------------------------------

void CamEditor::focusField(EntryField* field) {
    // A field that already has the focus gets no focus event: run its handler directly.
    if (field->hasFocus()) {
        emit field->gotFocus();
        return;
    }
    field->setFocus(Qt::TabFocusReason);
}

void CamEditor::focusGoPrCam() {
    if (goPrCam_)
        goPrCam_->setFocus(Qt::OtherFocusReason);
    else
        focusMainWindow();
}

void CamEditor::focusMainWindow() {
    setFocus(Qt::OtherFocusReason);
}

bool CamEditor::entryFieldHasFocus() const {
    return onField_->hasFocus() || offField_->hasFocus() || nameField_->hasFocus();
}

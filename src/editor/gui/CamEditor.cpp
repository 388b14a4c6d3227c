#include "editor/gui/CamEditor.h"

#include "editor/CamRowWalk.h"
#include "editor/DiagramGeometry.h"
#include "editor/EntryRules.h"
#include "editor/gui/CamBarPainter.h"
#include "editor/gui/ClickableLabel.h"
#include "editor/gui/EntryField.h"
#include "editor/gui/FormatStepper.h"
#include "model/NumberForms.h"
#include "shell/Session.h"
#include "shell/gui/MainStatusBar.h"
#include "shell/gui/MainWindow.h"
#include "shell/gui/WindowGeometry.h"

#include <QAction>
#include <QFontDatabase>
#include <QListWidget>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcut>
#include <QToolBar>

#include <algorithm>
#include <cstring>

using namespace DiagramGeometry;

namespace {
// Asks the main window's one-time scaling to leave the control hidden: these open on demand.
void hideUntilOpened(QWidget* w) {
    w->setProperty(WindowGeometry::HiddenAtStart, true);
    w->hide();
}

void place(QWidget* w, const TwipsRect& r) {
    using WindowGeometry::TwipsToPixels;
    w->setGeometry(TwipsToPixels(r.left), TwipsToPixels(r.top), TwipsToPixels(r.width),
                   TwipsToPixels(r.height));
}

QFont fixedFont(int pixels) {
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(pixels);
    return font;
}

QFont captionFont(const QWidget* w, int pixels) {
    QFont font = w->font();
    font.setPixelSize(pixels);
    return font;
}

QString rowName(const char* base, int index) {
    return QString::fromLatin1(base) + QLatin1Char('(') + QString::number(index) + QLatin1Char(')');
}

// The controls of the right-hand column, in twips of the design layout.
constexpr TwipsRect FormatCaptionAt{8010, 45, 1590, 255};
constexpr TwipsRect StepperCaptionAt{8010, 330, 1590, 225};
constexpr TwipsRect StepperAt{8010, 570, 1590, 300};
constexpr TwipsRect CamCaptionAt{8010, 960, 1590, 255};
constexpr TwipsRect DegreeCaptionAt{8010, 1260, 1590, 225};
constexpr TwipsRect OnFieldAt{8010, 1500, 735, 315};
constexpr TwipsRect OffFieldAt{8865, 1500, 735, 315};
constexpr TwipsRect ListCaptionAt{8010, 1890, 1590, 225};
constexpr TwipsRect PhaseListAt{8010, 2130, 1590, 2250};
constexpr TwipsRect PhaseCountAt{8010, 4410, 1590, 225};
constexpr TwipsRect NameHeaderAt{NameLeft, 45, NameWidth, 225};
constexpr TwipsRect NameCaptionAt{NameLeft, 4800, NameWidth, 225};
constexpr TwipsRect NameFieldAt{NameLeft, 5040, NameWidth, 315};
} // namespace

CamEditor::CamEditor(MainWindow& window) : QWidget(&window), session_(window.session()) {
    setObjectName(QStringLiteral("CamEditor"));
    // The background takes no focus: a click on it closes the fields without applying them.
    setFocusPolicy(Qt::NoFocus);
    setMinimumSize(WindowGeometry::TwipsToPixels(9690), WindowGeometry::TwipsToPixels(5400));
    buildRows();
    buildCaptions();
    buildFields();
    buildKeys();
    applyTexts();
    window.setCentralWidget(this);
    connectTo(window);
}

void CamEditor::connectTo(MainWindow& window) {
    window_ = &window;
    selectSizeAction_ = window.actions().S_Sel;
    QAction* go = window.actions().GoPrCam;
    connect(go, &QAction::triggered, this, &CamEditor::editCurrentCam);
    for (QToolBar* bar : window.findChildren<QToolBar*>()) {
        if (QWidget* button = bar->widgetForAction(go))
            goPrCam_ = button;
    }
    connect(&window, &MainWindow::redrawRequested, this, &CamEditor::ShowFormat);
    connect(&window, &MainWindow::hideEditorsRequested, this, &CamEditor::HideEditors);
    connect(&window, &MainWindow::camRowRedrawRequested, this, &CamEditor::DrawCamRow);
    connect(&window, &MainWindow::openEditorRequested, this, &CamEditor::openEditor);
    connect(&window, &MainWindow::textsChanged, this, &CamEditor::applyTexts);
    // The degree under the pointer, at the right end of the status bar.
    auto* readout = new QLabel(&window);
    readout->setObjectName(QStringLiteral("StDegree"));
    readout->setFont(fixedFont(12));
    // Room for the widest readout, so the bar does not jump as the pointer moves.
    readout->setMinimumWidth(
        readout->fontMetrics().horizontalAdvance(DiagramDrag::Readout(24, 359)) + 8);
    window.status()->addReadout(readout);
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

    stepperCaption_ = new ClickableLabel(QStringLiteral("- FORM +"), this);
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

    listCaption_ = new QLabel(QStringLiteral("Fase ON  OFF"), this);
    listCaption_->setObjectName(QStringLiteral("LGrONOF"));
    listCaption_->setFont(fixedFont(10));
    place(listCaption_, ListCaptionAt);

    phaseCount_ = new QLabel(QString(), this);
    phaseCount_->setObjectName(QStringLiteral("Tot_fasi"));
    phaseCount_->setFont(captionFont(phaseCount_, 10));
    place(phaseCount_, PhaseCountAt);
}

void CamEditor::buildFields() {
    degreeCaption_ = new QLabel(QStringLiteral("ON   GRADI   OFF"), this);
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

    nameCaption_ = new QLabel(QStringLiteral("DEFINIZIONE CAMMA"), this);
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
    ShowFormat();
}

// ---- Drawing -------------------------------------------------------------------------------

const uint8_t* CamEditor::shownDegrees(int cam) const {
    const CamProgram& p = session_.program;
    if (!p.IsValidFormat(p.CurrentFormat) || !p.IsValidCam(cam))
        return nullptr;
    return p.CamDegrees(p.CurrentFormat, cam);
}

QRect CamEditor::rowArea(int row) const {
    return bars_[row - 1]->geometry();
}

void CamEditor::ShowFormat() {
    CamProgram& p = session_.program;
    formatCaption_->setText(session_.Text(74) + NumberForms::TwoDigits(p.CurrentFormat));
    camCaption_->setText(QStringLiteral("C ") + NumberForms::TwoDigits(p.CurrentCam));
    // Whoever changed the cam or format, the history of the one left goes with it.
    session_.edit.sync();
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
    update(rowArea(cam));
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
        if (rowArea(row).intersects(event->rect()))
            paintRow(painter, row, scale);
    }
    if (readoutDegree_ >= 0)
        painter.fillRect(readoutColumn(readoutDegree_), QColor(255, 0, 0, 90));
}

void CamEditor::paintRow(QPainter& painter, int row, double degreeScale) const {
    const QRect g = rowArea(row);
    const BarBox bar{g.x(), g.y(), g.width(), g.height()};
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
        p.SetCamName(p.CurrentCam, typed);
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
        p.SetCamName(p.CurrentCam, name);
    hideNameField();
    window_->drawCamRow(p.CurrentCam);
}

void CamEditor::hideNameField() {
    nameField_->hide();
    nameCaption_->hide();
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

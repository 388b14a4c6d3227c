#include "functions/gui/FunctionParametersWindow.h"

#include "dialogs/Prompts.h"
#include "functions/FunctionRules.h"
#include "functions/gui/ParameterField.h"
#include "shell/Session.h"

#include <QCloseEvent>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QVBoxLayout>

#include <algorithm>

using namespace FunctionRules;

namespace {
constexpr int ParameterFields[4] = {OutputFormatField, EncoderShiftField, RotationSenseField,
                                    SpeedLimitField};
constexpr const char* ParameterLabels[4] = {"LFUSC", "L_Sfas", "L_Rot", "L_LimVel"};
} // namespace

FunctionParametersWindow::FunctionParametersWindow(Session& session, QWidget* parent)
    : QDialog(parent), session_(session) {
    setObjectName(QStringLiteral("FUN"));
    setWindowTitle(session_.Text(333));
    setModal(true);
    buildControls();
    applyCaptions();
    loadFromProgram();
}

void FunctionParametersWindow::buildControls() {
    const CamProgram& program = session_.program;
    auto* layout = new QVBoxLayout(this);

    frame_ = new QGroupBox(this);
    frame_->setObjectName(QStringLiteral("Frame1"));
    auto* modeLayout = new QHBoxLayout(frame_);
    for (int k = 0; k < 4; ++k) {
        modes_[k] = new QRadioButton(frame_);
        modes_[k]->setObjectName(QStringLiteral("Opt_AN(%1)").arg(k));
        modeLayout->addWidget(modes_[k]);
        connect(modes_[k], &QRadioButton::toggled, this, [this, k](bool on) {
            if (on)
                modeChosen(k);
        });
    }
    layout->addWidget(frame_);

    // One row per cam: its name, the caption of its advance entry and the entry. Only the
    // rows of the entries in use are shown; more than the screen holds scroll.
    auto* rows = new QWidget;
    auto* grid = new QGridLayout(rows);
    for (int i = 0; i < program.CamCount(); ++i) {
        auto* name = new QLabel(program.CamName(i + 1), rows);
        name->setObjectName(QStringLiteral("LDefC(%1)").arg(i));
        auto* caption = new QLabel(rows);
        caption->setObjectName(QStringLiteral("LANT(%1)").arg(i));
        auto* entry = new ParameterField(i, 3, rows);
        entry->setMaximum(MaxAdvance);
        entry->setValue(0);
        caption->setBuddy(entry);
        caption->installEventFilter(this);
        grid->addWidget(name, i, 0);
        grid->addWidget(caption, i, 1);
        grid->addWidget(entry, i, 2);
        advance_.append(entry);
        advanceCaptions_.append(caption);
        camNames_.append(name);
    }
    grid->setRowStretch(program.CamCount(), 1);
    rows_ = new QScrollArea(this);
    rows_->setObjectName(QStringLiteral("AdvanceRows"));
    rows_->setWidget(rows);
    rows_->setWidgetResizable(true);
    rows_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    layout->addWidget(rows_, 1);

    auto* parameterGrid = new QGridLayout;
    for (int p = 0; p < 4; ++p) {
        const FieldLimit limit = LimitOf(ParameterFields[p], program.FormatCount());
        parameters_[p] = new ParameterField(ParameterFields[p], limit.width, this);
        parameters_[p]->setMaximum(limit.maximum);
        parameterCaptions_[p] = new QLabel(this);
        parameterCaptions_[p]->setObjectName(QString::fromLatin1(ParameterLabels[p]));
        parameterCaptions_[p]->setBuddy(parameters_[p]);
        parameterCaptions_[p]->installEventFilter(this);
        parameterGrid->addWidget(parameterCaptions_[p], p, 0);
        parameterGrid->addWidget(parameters_[p], p, 1);
    }
    layout->addLayout(parameterGrid);

    auto* buttons = new QHBoxLayout;
    auto button = [this, buttons](const char* name, const QString& caption) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    ok_ = button("C_OK", session_.Text(291));
    reset_ = button("C_RES", session_.Text(334));
    clear_ = button("C_Cl", session_.Text(335));
    ok_->setDefault(true);
    layout->addLayout(buttons);

    for (ParameterField* field : advance_ + QList<ParameterField*>(parameters_, parameters_ + 4)) {
        connect(field, &ParameterField::focusEntered, this,
                &FunctionParametersWindow::fieldEntered);
        connect(field, &ParameterField::focusLeft, this, &FunctionParametersWindow::fieldLeft);
    }
    connect(ok_, &QPushButton::clicked, this, &FunctionParametersWindow::requestClose);
    connect(reset_, &QPushButton::clicked, this, &FunctionParametersWindow::reset);
    connect(clear_, &QPushButton::clicked, this, &FunctionParametersWindow::clear);
}

void FunctionParametersWindow::applyCaptions() {
    frame_->setTitle(session_.Text(83));
    const QString modes[4] = {session_.Text(134), session_.Text(135), session_.Text(136),
                              session_.Text(137)};
    for (int k = 0; k < 4; ++k)
        modes_[k]->setText(modes[k]);
    const QString parameters[4] = {session_.Text(85), session_.Text(86), session_.Text(87),
                                   session_.Text(88)};
    for (int p = 0; p < 4; ++p)
        parameterCaptions_[p]->setText(parameters[p]);
}

ParameterField* FunctionParametersWindow::parameter(int field) const {
    for (ParameterField* p : parameters_) {
        if (p->field() == field)
            return p;
    }
    return nullptr;
}

void FunctionParametersWindow::loadFromProgram() {
    const CamProgram& program = session_.program;
    const FunctionEdit edit = FromProgram(program);
    parameter(OutputFormatField)->setValue(edit.outputFormat);
    parameter(EncoderShiftField)->setValue(edit.encoderShift);
    parameter(RotationSenseField)->setValue(edit.rotationSense);
    parameter(SpeedLimitField)->setValue(edit.speedLimit);
    parameter(OutputFormatField)->setMaximum(program.FormatCount());
    for (int i = 0; i < advance_.size(); ++i)
        advance_[i]->setValue(i < int(edit.entries.size()) ? edit.entries[std::size_t(i)] : 0);
    workAdvanceCount_ = edit.advanceCount;
    chooseMode(ModeFor(edit.advanceCount, program.CamCount()));
}

void FunctionParametersWindow::chooseMode(int mode) {
    // Checking an option that is already checked sends no signal; the rows follow anyway.
    modes_[mode]->setChecked(true);
    modeChosen(mode);
}

void FunctionParametersWindow::modeChosen(int mode) {
    const int camCount = session_.program.CamCount();
    workAdvanceCount_ = AdvanceCountFor(mode, camCount);
    const std::vector<int> used = UsedEntries(workAdvanceCount_, camCount);
    for (int i = 0; i < advance_.size(); ++i) {
        const bool shown = std::find(used.begin(), used.end(), i) != used.end();
        advanceCaptions_[i]->setText(
            shown ? EntryCaption(mode, i, session_.Text(82), session_.Text(84)) : QString());
        advanceCaptions_[i]->setVisible(shown);
        advance_[i]->setVisible(shown);
        camNames_[i]->setVisible(shown);
    }
    fitRows();
    if (workAdvanceCount_ != session_.program.Parameters.AdvanceCount)
        changed_ = true;
}

void FunctionParametersWindow::fitRows() {
    QWidget* rows = rows_->widget();
    bool any = false;
    for (const ParameterField* entry : std::as_const(advance_))
        any = any || !entry->isHidden();
    // The window without its rows, a title bar, and what the screen leaves for the rows.
    rows_->hide();
    layout()->invalidate();
    const int others = layout()->sizeHint().height();
    rows_->setVisible(any);
    const QSize wanted = rows->sizeHint() + QSize(2, 2) * rows_->frameWidth();
    const QScreen* screen = this->screen();
    const int room = screen ? screen->availableGeometry().height() - others -
                                  2 * fontMetrics().height() - layout()->spacing()
                            : wanted.height();
    const bool scrolls = wanted.height() > room;
    rows_->setFixedHeight(std::max(0, std::min(wanted.height(), room)));
    rows_->setMinimumWidth(wanted.width() +
                           (scrolls ? rows_->verticalScrollBar()->sizeHint().width() : 0));
    adjustSize();
    // Grown while shown, the window moves up as far as it now reaches below the screen.
    if (screen && isVisible()) {
        const int below = frameGeometry().bottom() - screen->availableGeometry().bottom();
        if (below > 0)
            move(x(), std::max(screen->availableGeometry().top(), y() - below));
    }
}

void FunctionParametersWindow::fieldEntered(ParameterField* field) {
    focusValue_ = field->value();
    field->setMaximum(LimitOf(field->field(), session_.program.FormatCount()).maximum);
    // Enter settles the field's value instead of closing the window.
    ok_->setDefault(false);
}

void FunctionParametersWindow::fieldLeft(ParameterField* field) {
    field->cutToMaximum();
    field->deselect();
    const long long value = field->value();
    field->setValue(value);
    if (value != focusValue_)
        changed_ = true;
    focusValue_ = value;
}

void FunctionParametersWindow::reset() {
    if (session_.prompts.message(session_.Text(59), session_.Text(58), Prompts::Buttons::YesNo,
                                 Prompts::Icon::Question) != Prompts::Answer::Yes)
        return;
    for (ParameterField* entry : std::as_const(advance_))
        entry->setValue(0);
    for (ParameterField* p : parameters_)
        p->setValue(0);
    applyCaptions();
    chooseMode(NoAdvance);
    changed_ = true;
}

void FunctionParametersWindow::clear() {
    if (!changed_)
        return;
    if (session_.prompts.message(session_.Text(60), session_.Text(58),
                                 Prompts::Buttons::YesNoCancel,
                                 Prompts::Icon::Question) != Prompts::Answer::Yes)
        return;
    loadFromProgram();
    changed_ = false;
}

void FunctionParametersWindow::storeIntoProgram() {
    FunctionEdit edit;
    edit.advanceCount = workAdvanceCount_;
    for (ParameterField* entry : std::as_const(advance_))
        edit.entries.push_back(int(entry->value()));
    edit.outputFormat = int(parameter(OutputFormatField)->value());
    edit.encoderShift = int(parameter(EncoderShiftField)->value());
    edit.rotationSense = int(parameter(RotationSenseField)->value());
    edit.speedLimit = int(parameter(SpeedLimitField)->value());
    StoreInto(session_.program, edit);
}

void FunctionParametersWindow::requestClose() {
    // A field that still has the focus has not been settled by leaving it yet.
    if (auto* focused = qobject_cast<ParameterField*>(focusWidget()))
        fieldLeft(focused);
    if (!changed_) {
        done(QDialog::Rejected);
        return;
    }
    switch (session_.prompts.message(session_.Text(63), session_.Text(58),
                                     Prompts::Buttons::YesNoCancel, Prompts::Icon::Question)) {
    case Prompts::Answer::Yes:
        storeIntoProgram();
        done(QDialog::Accepted);
        break;
    case Prompts::Answer::No:
        done(QDialog::Rejected);
        break;
    default:
        break;
    }
}

void FunctionParametersWindow::reject() {
    requestClose();
}

void FunctionParametersWindow::closeEvent(QCloseEvent* event) {
    // The close box goes through the same question; the window closes through done().
    event->ignore();
    requestClose();
}

bool FunctionParametersWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        if (auto* label = qobject_cast<QLabel*>(watched); label && label->buddy()) {
            label->buddy()->setFocus(Qt::MouseFocusReason);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

#include "timing/gui/TimingWindow.h"

#include "editor/gui/FormatStepper.h"
#include "model/CamProgram.h"
#include "model/LanguageTexts.h"
#include "model/NumberForms.h"
#include "shell/UserSettings.h"
#include "timing/gui/OutputLamps.h"
#include "timing/gui/ShaftView.h"
#include "timing/gui/TimingTableModel.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

using namespace ShaftTiming;

namespace {
constexpr int FrameMs = 16; // 60 frames per second
constexpr int MaxSlowDown = 100000;
constexpr long long TurnMilli = 360000;
constexpr const char* Refused = "QLineEdit { background: rgb(255, 220, 220); }";
} // namespace

TimingWindow::TimingWindow(const CamProgram& program, UserSettings& settings,
                           const LanguageTexts& texts, QWidget* parent)
    : QDialog(parent), program_(program), settings_(settings), texts_(texts),
      model_(new TimingTableModel(this)), rpm_(settings.TimingRpm()),
      format_(program.CurrentFormat) {
    setObjectName(QStringLiteral("TIMING"));
    build();
    applyTexts();
    frames_.setTimerType(Qt::PreciseTimer);
    frames_.setInterval(FrameMs);
    connect(&frames_, &QTimer::timeout, this, &TimingWindow::frame);
    SpeedRpm->setText(QString::number(rpm_));
    SpeedSlider->setValue(rpm_);
    SlowDown->setValue(DefaultSlowDown(rpm_));
    MinMs->setText(QStringLiteral("0"));
    refresh();
}

TimingWindow::~TimingWindow() {
    // Closing hides the dialog, and a field that loses the focus then reports its editing
    // finished to a window whose own part is already gone.
    SpeedRpm->disconnect(this);
    MinMs->disconnect(this);
}

void TimingWindow::build() {
    SpeedRpm = new QLineEdit(this);
    SpeedRpm->setObjectName(QStringLiteral("SpeedRpm"));
    SpeedRpm->setMaximumWidth(80);
    SpeedSlider = new QSlider(Qt::Horizontal, this);
    SpeedSlider->setObjectName(QStringLiteral("SpeedSlider"));
    SpeedSlider->setRange(MinRpm, ShaftTiming::MaxRpm);
    SpeedSlider->setMinimumWidth(240);
    MinMs = new QLineEdit(this);
    MinMs->setObjectName(QStringLiteral("MinMs"));
    MinMs->setMaximumWidth(80);
    Problem = new QLabel(this);
    Problem->setObjectName(QStringLiteral("Problem"));
    Problem->setStyleSheet(QStringLiteral("color: rgb(200, 0, 0);"));
    LFORM = new QLabel(this);
    LFORM->setObjectName(QStringLiteral("LFORM"));
    LbSpin = new QLabel(this);
    LbSpin->setObjectName(QStringLiteral("LbSpin"));
    Picture1 = new FormatStepper(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFixedSize(48, 18);
    Params = new QLabel(this);
    Params->setObjectName(QStringLiteral("Params"));
    Shaft = new ShaftView(this);
    Table = new QTableView(this);
    Table->setObjectName(QStringLiteral("Table"));
    Table->setModel(model_);
    Table->setSelectionBehavior(QAbstractItemView::SelectRows);
    Table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    Table->verticalHeader()->hide();
    Table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    Table->horizontalHeader()->setDefaultSectionSize(
        fontMetrics().horizontalAdvance(QStringLiteral("0000.0 ms")));
    Table->horizontalHeader()->resizeSection(TimingTableModel::Name,
                                             fontMetrics().horizontalAdvance(QLatin1Char('M')) *
                                                 CamProgram::MaxNameLength);
    MaxRpm = new QLabel(this);
    MaxRpm->setObjectName(QStringLiteral("MaxRpm"));
    Lamps = new OutputLamps(this);
    K_PLAY = new QPushButton(this);
    K_PLAY->setObjectName(QStringLiteral("K_PLAY"));
    SlowDown = new QSpinBox(this);
    SlowDown->setObjectName(QStringLiteral("SlowDown"));
    SlowDown->setRange(1, MaxSlowDown);
    SlowDown->setPrefix(QStringLiteral("\u00d7 "));
    Readout = new QLabel(this);
    Readout->setObjectName(QStringLiteral("Readout"));
    Readout->setMinimumWidth(260);
    K_EXIT = new QPushButton(this);
    K_EXIT->setObjectName(QStringLiteral("K_EXIT"));
    K_EXIT->setAutoDefault(false);
    K_PLAY->setAutoDefault(false);

    auto* speed = new QHBoxLayout;
    for (QWidget* w :
         std::initializer_list<QWidget*>{new QLabel(this), SpeedRpm, SpeedSlider, new QLabel(this),
                                         MinMs, LFORM, LbSpin, Picture1})
        speed->addWidget(w);
    speed->itemAt(0)->widget()->setObjectName(QStringLiteral("LSpeed"));
    speed->itemAt(3)->widget()->setObjectName(QStringLiteral("LMin"));
    speed->addStretch();
    auto* left = new QVBoxLayout;
    left->addWidget(Shaft);
    left->addStretch();
    auto* right = new QVBoxLayout;
    right->addWidget(Table, 1);
    right->addWidget(MaxRpm);
    auto* middle = new QHBoxLayout;
    middle->addLayout(left);
    middle->addLayout(right, 1);
    auto* player = new QHBoxLayout;
    auto* slowCaption = new QLabel(this);
    slowCaption->setObjectName(QStringLiteral("LSlow"));
    for (QWidget* w : std::initializer_list<QWidget*>{K_PLAY, slowCaption, SlowDown, Readout})
        player->addWidget(w);
    player->addStretch();
    player->addWidget(K_EXIT);
    auto* lampCaption = new QLabel(this);
    lampCaption->setObjectName(QStringLiteral("LLamps"));
    auto* all = new QVBoxLayout(this);
    all->addLayout(speed);
    all->addWidget(Problem);
    all->addWidget(Params);
    all->addLayout(middle, 1);
    all->addWidget(lampCaption);
    all->addWidget(Lamps);
    all->addLayout(player);

    connect(SpeedRpm, &QLineEdit::textEdited, this, &TimingWindow::speedTyped);
    connect(SpeedSlider, &QSlider::valueChanged, this, &TimingWindow::speedSlid);
    connect(SpeedSlider, &QSlider::sliderReleased, this, &TimingWindow::rememberSpeed);
    connect(SpeedRpm, &QLineEdit::editingFinished, this, &TimingWindow::speedEntered);
    connect(MinMs, &QLineEdit::textEdited, this, &TimingWindow::minimumTyped);
    connect(MinMs, &QLineEdit::editingFinished, this, &TimingWindow::minimumEntered);
    connect(Picture1, &FormatStepper::previousRequested, this, [this] { stepFormat(-1); });
    connect(Picture1, &FormatStepper::nextRequested, this, [this] { stepFormat(+1); });
    connect(Shaft, &ShaftView::stepRequested, this, &TimingWindow::stepAngle);
    connect(SlowDown, &QSpinBox::valueChanged, this, &TimingWindow::restartClock);
    connect(K_PLAY, &QPushButton::clicked, this, [this] { playing() ? pause() : play(); });
    connect(K_EXIT, &QPushButton::clicked, this, &QDialog::close);
    connect(Table, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (const int cam = model_->camAt(index.row()))
            emit goToCam(format_, cam);
    });
}

void TimingWindow::applyTexts() {
    setWindowTitle(texts_.Text(420));
    findChild<QLabel*>(QStringLiteral("LSpeed"))->setText(texts_.Text(421));
    findChild<QLabel*>(QStringLiteral("LMin"))->setText(texts_.Text(422));
    findChild<QLabel*>(QStringLiteral("LLamps"))
        ->setText(texts_.Text(423) + QStringLiteral("  ") + texts_.Text(449));
    findChild<QLabel*>(QStringLiteral("LSlow"))->setText(texts_.Text(426));
    LbSpin->setText(texts_.Text(131));
    K_EXIT->setText(texts_.Text(447));
    K_PLAY->setText(playing() ? texts_.Text(425) : texts_.Text(424));
    const QStringList headers{
        texts_.Text(427), texts_.Text(428), texts_.Text(429), texts_.Text(430), texts_.Text(431),
        texts_.Text(432), texts_.Text(433), texts_.Text(434), texts_.Text(435), texts_.Text(436)};
    model_->setHeaders(headers);
    // Every caption whole, in whichever language.
    QHeaderView* header = Table->horizontalHeader();
    for (int c = 0; c < headers.size(); ++c)
        header->resizeSection(c, std::max(header->sectionSize(c),
                                          fontMetrics().horizontalAdvance(headers.at(c)) + 16));
    Table->setMinimumWidth(header->length() + 24);
}

void TimingWindow::refresh() {
    if (!program_.IsValidFormat(format_))
        format_ = 1;
    timing_ = TimeFormat(program_, format_, rpm_, minTenths_);
    const int cams = program_.CamCount();
    degrees_.resize(std::size_t(cams) * CamProgram::Degrees);
    QStringList names;
    for (int c = 1; c <= cams; ++c) {
        const uint8_t* d = program_.CamDegrees(format_, c);
        std::copy(d, d + CamProgram::Degrees, degrees_.begin() + (c - 1) * CamProgram::Degrees);
        names << program_.CamName(c);
    }
    Shaft->setFormat(degrees_, timing_);
    model_->setTiming(timing_);
    Lamps->setCams(names);
    LFORM->setText(texts_.Text(74) + NumberForms::TwoDigits(format_));
    const FunctionParameters& f = program_.Parameters;
    shownParameters_ = f;
    Params->setText(texts_.Text(442) + QStringLiteral(" ") + QString::number(f.RotationSense) +
                    QStringLiteral("   ") + texts_.Text(443) + QStringLiteral(" ") +
                    QString::number(f.EncoderShift) + QStringLiteral("\u00b0  ") +
                    texts_.Text(444));
    MaxRpm->setText(texts_.Text(437) + QLatin1Char(' ') +
                    (timing_.MaxRpm ? QString::number(*timing_.MaxRpm) + QStringLiteral(" rpm")
                                    : texts_.Text(438)));
    showAngle(angle_);
}

bool TimingWindow::programChanged() const {
    if (!program_.IsValidFormat(format_) ||
        degrees_.size() != std::size_t(program_.CamCount()) * CamProgram::Degrees ||
        !(program_.Parameters.AdvanceCount == shownParameters_.AdvanceCount &&
          program_.Parameters.CamAdvance == shownParameters_.CamAdvance &&
          program_.Parameters.EncoderShift == shownParameters_.EncoderShift &&
          program_.Parameters.RotationSense == shownParameters_.RotationSense))
        return true;
    for (int c = 1; c <= program_.CamCount(); ++c) {
        if (program_.CamName(c).trimmed() != timing_.Cams[std::size_t(c - 1)].Name ||
            !std::equal(degrees_.begin() + (c - 1) * CamProgram::Degrees,
                        degrees_.begin() + c * CamProgram::Degrees,
                        program_.CamDegrees(format_, c)))
            return true;
    }
    return false;
}

void TimingWindow::showAngle(long long angleMilli) {
    angle_ = angleMilli;
    Shaft->setCursor(angle_);
    std::vector<bool> lit;
    lit.reserve(timing_.Cams.size());
    for (std::size_t c = 0; c < timing_.Cams.size(); ++c)
        lit.push_back(OnAtSpeed(degrees_.data() + c * CamProgram::Degrees,
                                timing_.Cams[c].ShiftMilli, angle_));
    Lamps->setLit(lit);
    const int tenths = int((angle_ + 50) / 100 % 3600);
    Readout->setText(texts_.Text(445) + QLatin1Char(' ') + TenthsText(tenths) +
                     QStringLiteral("\u00b0   ") + texts_.Text(446) + QLatin1Char(' ') +
                     TenthsText(AngleTimeTenths(angle_, rpm_)) + QStringLiteral(" ms"));
}

void TimingWindow::play() {
    restartClock();
    frames_.start();
    K_PLAY->setText(texts_.Text(425));
}

void TimingWindow::pause() {
    frames_.stop();
    K_PLAY->setText(texts_.Text(424));
}

void TimingWindow::restartClock() {
    anchor_ = angle_;
    clock_.start();
}

void TimingWindow::frame() {
    showAngle(TurnedMilli(anchor_, clock_.elapsed(), rpm_, SlowDown->value()));
}

void TimingWindow::stepAngle(int degrees) {
    pause();
    // To the next whole degree in that direction, as the editor's degrees are whole.
    const long long whole =
        degrees > 0 ? (angle_ / 1000 + 1) * 1000 : (angle_ + 999) / 1000 * 1000 - 1000;
    showAngle((whole % TurnMilli + TurnMilli) % TurnMilli);
}

void TimingWindow::markField(QLineEdit* field, bool good, const QString& reason, QString& problem) {
    // A speed or time out of range is refused where it is typed, with the reason, never cut
    // to the range; the last good value stays in force.
    problem = good ? QString() : reason;
    field->setStyleSheet(good ? QString() : QString::fromLatin1(Refused));
    showProblems();
}

void TimingWindow::speedTyped(const QString& text) {
    markField(SpeedRpm, ParseRpm(text).has_value(), texts_.Text(439), speedProblem_);
}

void TimingWindow::speedEntered() {
    const std::optional<int> rpm = ParseRpm(SpeedRpm->text());
    if (!rpm)
        return;
    const QSignalBlocker quiet(SpeedSlider);
    SpeedSlider->setValue(*rpm);
    setSpeed(*rpm);
    rememberSpeed();
}

void TimingWindow::speedSlid(int rpm) {
    SpeedRpm->setText(QString::number(rpm));
    markField(SpeedRpm, true, texts_.Text(439), speedProblem_);
    setSpeed(rpm);
    if (!SpeedSlider->isSliderDown())
        rememberSpeed();
}

void TimingWindow::setSpeed(int rpm) {
    if (rpm == rpm_)
        return;
    rpm_ = rpm;
    {
        const QSignalBlocker quiet(SlowDown);
        SlowDown->setValue(DefaultSlowDown(rpm));
    }
    restartClock();
    refresh();
}

void TimingWindow::rememberSpeed() {
    if (settings_.TimingRpm() == rpm_)
        return;
    settingsProblem_ = settings_.SetTimingRpm(rpm_)
                           ? QString()
                           : texts_.Text(448) + QLatin1Char(' ') + settings_.Path();
    showProblems();
}

void TimingWindow::minimumTyped(const QString& text) {
    markField(MinMs, ParseMinimumTenths(text).has_value(), texts_.Text(440), minimumProblem_);
}

void TimingWindow::minimumEntered() {
    const std::optional<int> minimum = ParseMinimumTenths(MinMs->text());
    if (!minimum || *minimum == minTenths_)
        return;
    minTenths_ = *minimum;
    refresh();
}

void TimingWindow::showProblems() {
    QStringList problems;
    for (const QString& p : {speedProblem_, minimumProblem_, settingsProblem_})
        if (!p.isEmpty())
            problems << p;
    Problem->setText(problems.join(QStringLiteral("   ")));
}

void TimingWindow::stepFormat(int delta) {
    const int next = format_ + delta;
    if (!program_.IsValidFormat(next))
        return;
    format_ = next;
    refresh();
}

void TimingWindow::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    // Back from the editor: show what was changed there (only then, so the table keeps its
    // place when nothing was).
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && programChanged())
        refresh();
}

void TimingWindow::hideEvent(QHideEvent* event) {
    pause();
    QDialog::hideEvent(event);
}

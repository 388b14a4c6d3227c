#include "compare/gui/DifferencesWindow.h"
#include "model/LanguageTexts.h"

#include "compare/DiffReport.h"
#include "compare/gui/CamPairView.h"
#include "editor/CamRowWalk.h"

#include <QBoxLayout>
#include <QFontDatabase>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

namespace {

template <typename W> W* named(W* widget, const char* name) {
    widget->setObjectName(QLatin1String(name));
    return widget;
}

// A parameter as the function parameters window captions it; the cam file's keyword is
// what the differences lines of q517-cli keep.
QString parameterCaption(const LanguageTexts& texts, const QString& name) {
    if (name.startsWith(QLatin1String("ADVANCE C")))
        return texts.Text(82) + name.mid(9);
    const struct {
        const char* keyword;
        QString caption;
    } captions[] = {{"NUMERO ANTICIPI", texts.Text(83)},
                    {"FORMATO IN USCITA", texts.Text(85)},
                    {"SFASAMENTO ENCODER", texts.Text(86)},
                    {"SENSO DI ROTAZIONE", texts.Text(87)},
                    {"LIMITE DI VELOCITA'", texts.Text(88)}};
    for (const auto& c : captions)
        if (name == QLatin1String(c.keyword))
            return c.caption;
    return name;
}

} // namespace

DifferencesWindow::DifferencesWindow(const LanguageTexts& texts, const CamProgram& a,
                                     const CamProgram& b, const QString& captionA,
                                     const QString& captionB, QWidget* parent)
    : QDialog(parent), a_(a), b_(b), diff_(DiffPrograms(a, b)) {
    setObjectName(QStringLiteral("DIFF"));
    setWindowTitle(texts.Text(320));
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);

    summary_ = summaryText(texts);
    Summary = named(new QLabel(summary_, this), "Summary");
    CaptionA = named(new QLabel(QStringLiteral("A: ") + captionA, this), "CaptionA");
    CaptionB = named(new QLabel(QStringLiteral("B: ") + captionB, this), "CaptionB");
    DiffList = named(new QListWidget(this), "DiffList");
    DiffList->setFont(fixed);
    DiffList->setMaximumWidth(120);
    for (const CamDifference& c : diff_.Cams)
        DiffList->addItem(CamDifferencePlace(c));
    Rows = new CamPairView(this);
    PhasesA = named(new QListWidget(this), "PhasesA");
    PhasesB = named(new QListWidget(this), "PhasesB");
    Details = named(new QPlainTextEdit(this), "Details");
    Details->setReadOnly(true);
    Details->setFont(fixed);
    ProgramDiff rest = diff_;
    rest.Cams.clear();
    for (ParameterDifference& p : rest.Parameters)
        p.Name = parameterCaption(texts, p.Name);
    Details->setPlainText(DiffLines(rest).join(QLatin1Char('\n')));
    for (QWidget* w : {static_cast<QWidget*>(PhasesA), static_cast<QWidget*>(PhasesB)})
        w->setFont(fixed);
    K_EXIT = named(new QPushButton(texts.Text(323), this), "K_EXIT");
    K_AGAIN = named(new QPushButton(this), "K_AGAIN");
    K_AGAIN->setVisible(false);

    auto* phases = new QHBoxLayout;
    phases->addWidget(PhasesA);
    phases->addWidget(PhasesB);
    auto* right = new QVBoxLayout;
    right->addWidget(Rows);
    right->addLayout(phases, 1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(DiffList);
    middle->addLayout(right, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(K_AGAIN);
    buttons->addWidget(K_EXIT);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Summary);
    layout->addWidget(CaptionA);
    layout->addWidget(CaptionB);
    layout->addLayout(middle, 3);
    layout->addWidget(Details, 1);
    layout->addLayout(buttons);

    connect(K_EXIT, &QPushButton::clicked, this, &QDialog::accept);
    connect(K_AGAIN, &QPushButton::clicked, this, [this] {
        emit compareAgain();
        accept();
    });
    connect(DiffList, &QListWidget::currentRowChanged, this, &DifferencesWindow::showDifference);
    connect(DiffList, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const CamDifference& c = diff_.Cams.at(std::size_t(DiffList->row(item)));
        emit goToCam(c.Format, c.Cam);
    });
    if (DiffList->count() > 0)
        DiffList->setCurrentRow(0);
    else
        showDifference(-1);
    resize(640, 520);
}

QString DifferencesWindow::summaryText(const LanguageTexts& texts) const {
    if (diff_.Same())
        return texts.Text(321);
    if (!diff_.SameType())
        return DiffLines(diff_).join(QLatin1Char('\n'));
    return texts.Text(322) + DiffCounts(diff_, texts);
}

void DifferencesWindow::showDifference(int row) {
    PhasesA->clear();
    PhasesB->clear();
    if (row < 0 || std::size_t(row) >= diff_.Cams.size()) {
        Rows->clearCams();
        return;
    }
    const CamDifference& c = diff_.Cams[std::size_t(row)];
    const uint8_t* da = a_.CamDegrees(c.Format, c.Cam);
    const uint8_t* db = b_.CamDegrees(c.Format, c.Cam);
    Rows->setCams(da, db);
    PhasesA->addItems(WalkCamRow(da).items);
    PhasesB->addItems(WalkCamRow(db).items);
}

void DifferencesWindow::watch(std::function<bool()> stillTrue, const QString& outOfDate,
                              const QString& again) {
    stillTrue_ = std::move(stillTrue);
    outOfDateText_ = outOfDate;
    K_AGAIN->setText(again);
    auto* timer = new QTimer(this);
    connect(timer, &QTimer::timeout, this, &DifferencesWindow::recheck);
    timer->start(500);
}

void DifferencesWindow::recheck() {
    if (outOfDate_ || !stillTrue_ || stillTrue_())
        return;
    outOfDate_ = true;
    Summary->setText(outOfDateText_ + QLatin1Char('\n') + summary_);
    K_AGAIN->setVisible(true);
}

#include "compare/gui/DifferencesWindow.h"

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

} // namespace

DifferencesWindow::DifferencesWindow(const CamProgram& a, const CamProgram& b,
                                     const QString& captionA, const QString& captionB,
                                     QWidget* parent)
    : QDialog(parent), a_(a), b_(b), diff_(DiffPrograms(a, b)) {
    setObjectName(QStringLiteral("DIFF"));
    setWindowTitle(QStringLiteral("Differences"));
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);

    Summary = named(new QLabel(summaryText(), this), "Summary");
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
    Details->setPlainText(DiffLines(rest).join(QLatin1Char('\n')));
    for (QWidget* w : {static_cast<QWidget*>(PhasesA), static_cast<QWidget*>(PhasesB)})
        w->setFont(fixed);
    K_EXIT = named(new QPushButton(QStringLiteral("Close"), this), "K_EXIT");
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

QString DifferencesWindow::summaryText() const {
    if (diff_.Same())
        return QStringLiteral("No differences");
    if (!diff_.SameType())
        return DiffLines(diff_).join(QLatin1Char('\n'));
    return QStringLiteral("Differences: ") + DiffCounts(diff_);
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
    Summary->setText(outOfDateText_ + QLatin1Char('\n') + summaryText());
    K_AGAIN->setVisible(true);
}

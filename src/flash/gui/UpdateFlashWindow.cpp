#include "flash/gui/UpdateFlashWindow.h"

#include "flash/FirmwareTag.h"
#include "flash/FlashUpdate.h"
#include "flash/HexRecord.h"
#include "flash/UpdateRun.h"
#include "flash/gui/FlashTextArea.h"
#include "link/gui/DrawProgress.h"
#include "link/gui/PlaceWindow.h"
#include "shell/Session.h"

#include <QCoreApplication>
#include <QFrame>
#include <QPushButton>
#include <QTimer>

namespace {
// The rows of the text area: left and top edge in pixels, on a grid of 18-pixel rows.
struct Spot {
    int x, y;
};
constexpr Spot WorkingFile{10, 15};
constexpr Spot TestingRow{10, 36};
constexpr Spot TestedLines{140, 36};
constexpr Spot TestedBytes{340, 36};
constexpr Spot TagRow{10, 4 * 18};
constexpr Spot ChipErased{10, 96};
constexpr Spot TransmitRow{10, 144};
constexpr Spot SentLines{160, 144};
constexpr Spot SentBytes{320, 144};
constexpr Spot Address{460, 144};
constexpr Spot Elapsed{250, 180};
constexpr Spot Result{10, 220};

// Placement inside the text area, clear of every text row.
const QRect LedArea(630, 12, 28, 28);
const QRect BarArea(10, 248, 654, 22);
const QRect OkArea(584, 212, 80, 30);
// A completed update stays on screen this long before the window closes.
constexpr int ResultShownMs = 3000;
} // namespace

UpdateFlashWindow::UpdateFlashWindow(Session& session, QString hexFilePath, QWidget* parent)
    : QDialog(parent), session_(session), path_(std::move(hexFilePath)),
      textArea_(new FlashTextArea(this)), ledConn_(new QFrame(textArea_)),
      barra_(new ProgressBarWidget(textArea_)),
      okButton_(new QPushButton(session.Text(291), textArea_)) {
    setObjectName(QStringLiteral("UpdFlsh"));
    setWindowTitle(session_.Text(300));
    setFixedSize(FlashTextArea::ClientWidth, FlashTextArea::ClientHeight);
    textArea_->setObjectName(QStringLiteral("TextArea"));
    textArea_->move(0, 0);
    ledConn_->setObjectName(QStringLiteral("LedConn"));
    ledConn_->setGeometry(LedArea);
    ledConn_->setFrameShape(QFrame::Box);
    ledConn_->setAutoFillBackground(true);
    ledConn_->hide();
    barra_->setObjectName(QStringLiteral("Barra"));
    barra_->setGeometry(BarArea);
    barra_->hide();
    okButton_->setObjectName(QStringLiteral("K_OK"));
    okButton_->setGeometry(OkArea);
    okButton_->hide();
    connect(okButton_, &QPushButton::clicked, this, &UpdateFlashWindow::reject);
}

UpdateFlashWindow::~UpdateFlashWindow() = default;

void UpdateFlashWindow::workingFile(const QString& path, qint64 size) {
    textArea_->drawText(WorkingFile.x, WorkingFile.y, session_.Text(301).arg(path).arg(size),
                        FlashTextArea::Regular11);
}

void UpdateFlashWindow::phaseBegun(Phase phase) {
    phase_ = phase;
    if (phase == Phase::Checking)
        textArea_->drawText(TestingRow.x, TestingRow.y, session_.Text(302),
                            FlashTextArea::Regular11);
    else if (phase == Phase::Transmitting)
        textArea_->drawText(TransmitRow.x, TransmitRow.y, session_.Text(303),
                            FlashTextArea::Regular12);
    showNow();
}

void UpdateFlashWindow::counted(const Counters& counters) {
    const auto bold = FlashTextArea::Bold12;
    if (phase_ == Phase::Checking) {
        textArea_->drawText(TestedLines.x, TestedLines.y, CounterText(counters.line), bold);
        textArea_->drawText(TestedBytes.x, TestedBytes.y, CounterText(counters.bytes), bold);
    } else {
        textArea_->drawText(SentLines.x, SentLines.y, CounterText(counters.line), bold);
        textArea_->drawText(SentBytes.x, SentBytes.y, CounterText(counters.bytes), bold);
        if (counters.address >= 0)
            textArea_->drawText(Address.x, Address.y, HexRecord::AddressText(counters.address),
                                bold);
        if (counters.elapsedMs >= 0)
            textArea_->drawText(Elapsed.x, Elapsed.y,
                                session_.Text(597) + FlashUpdate::ElapsedText(counters.elapsedMs),
                                bold);
        if (counters.percent >= 0 && (barra_->isHidden() || barra_->percent() != counters.percent))
            DrawProgress(*barra_, counters.percent);
    }
    showNow();
}

void UpdateFlashWindow::firmwareTag(const QByteArray& tag) {
    const QString line = FirmwareTag::TagLine(tag);
    if (!line.isEmpty())
        textArea_->drawText(TagRow.x, TagRow.y, line, FlashTextArea::Bold12);
    showNow();
}

void UpdateFlashWindow::readyLine(bool ready) {
    QPalette palette = ledConn_->palette();
    palette.setColor(QPalette::Window, ready ? QColor(0, 255, 0) : QColor(255, 0, 0));
    ledConn_->setPalette(palette);
    ledConn_->show();
    showNow();
}

void UpdateFlashWindow::erased() {
    textArea_->drawText(ChipErased.x, ChipErased.y, session_.Text(242), FlashTextArea::Bold12);
    showNow();
}

void UpdateFlashWindow::done() {
    textArea_->drawText(Result.x, Result.y, session_.Text(243) + path_, FlashTextArea::BlueBold12);
    showNow();
}

void UpdateFlashWindow::refused(const Refusal& refusal) {
    keepOpen_ = !refusal.operatorChose();
    if (!keepOpen_)
        return;
    QString text = refusal.text(session_.texts);
    if (!refusal.detail.isEmpty() && refusal.detail != text)
        text += QStringLiteral(": ") + refusal.detail;
    textArea_->drawText(Result.x, Result.y, text, FlashTextArea::RedBold12);
    showNow();
}

void UpdateFlashWindow::waiting() {
    showNow();
}

void UpdateFlashWindow::showNow() {
    if (running_)
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

void UpdateFlashWindow::reject() {
    if (!running_)
        QDialog::reject();
}

void UpdateFlashWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (started_)
        return;
    started_ = true;
    PlaceWindow(this);
    QTimer::singleShot(0, this, &UpdateFlashWindow::runOnce);
}

void UpdateFlashWindow::runOnce() {
    running_ = true;
    UpdateRun run(session_.linkContext(), *this, path_);
    updated_ = run.Run();
    running_ = false;
    if (updated_) {
        QTimer::singleShot(ResultShownMs, this, &QDialog::accept);
    } else if (keepOpen_) {
        okButton_->show();
        okButton_->setDefault(true);
        okButton_->setFocus();
    } else {
        QDialog::reject();
    }
}

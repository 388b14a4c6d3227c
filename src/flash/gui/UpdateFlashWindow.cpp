#include "flash/gui/UpdateFlashWindow.h"

#include "flash/UpdateRun.h"
#include "flash/gui/FlashTextArea.h"
#include "link/gui/DrawProgress.h"
#include "link/gui/PlaceWindow.h"
#include "shell/Session.h"

#include <QFrame>
#include <QTimer>

namespace {
// Placement inside the text area, clear of every text row.
const QRect LedArea(630, 12, 28, 28);
const QRect BarArea(10, 248, 654, 22);
} // namespace

UpdateFlashWindow::UpdateFlashWindow(Session& session, QString hexFilePath, QWidget* parent)
    : QDialog(parent), session_(session), path_(std::move(hexFilePath)),
      textArea_(new FlashTextArea(this)), ledConn_(new QFrame(textArea_)),
      barra_(new ProgressBarWidget(textArea_)) {
    setObjectName(QStringLiteral("UpdFlsh"));
    setWindowTitle(QStringLiteral("Update Q5-17"));
    setFixedSize(FlashLayout::ClientWidth, FlashLayout::ClientHeight);
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
}

UpdateFlashWindow::~UpdateFlashWindow() = default;

void UpdateFlashWindow::drawText(int x, int y, const QString& text, const Style& style) {
    textArea_->drawText(x, y, text, style);
}

void UpdateFlashWindow::showLed(uint32_t rgb) {
    QPalette palette = ledConn_->palette();
    palette.setColor(QPalette::Window, QColor::fromRgb(rgb));
    ledConn_->setPalette(palette);
    ledConn_->show();
    ledConn_->repaint();
}

void UpdateFlashWindow::drawProgress(int percent) {
    DrawProgress(*barra_, percent);
}

void UpdateFlashWindow::repaint() {
    QDialog::repaint();
}

void UpdateFlashWindow::closeWindow() {
    closeRequested_ = true;
    if (!running_)
        done(updated_ ? Accepted : Rejected);
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
    UpdateRun run(session_, *this, path_);
    run.Run();
    updated_ = run.updated();
    running_ = false;
    if (closeRequested_)
        done(updated_ ? Accepted : Rejected);
}

#include "model/gui/HandedFiles.h"

#include "model/gui/FileCommands.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {
// How long a file waits for the window to come to the front before it opens anyway (a window
// manager may refuse to activate it).
constexpr int ActivationWaitMs = 1000;
} // namespace

HandedFiles::HandedFiles(QWidget& window, FileCommands& files)
    : QObject(&window), window_(window), files_(files) {
    setObjectName(QStringLiteral("HandedFiles"));
    qApp->installEventFilter(this);
}

void HandedFiles::take(const QString& file) {
    if (started_)
        bringWindowUp();
    if (file.isEmpty())
        return;
    pending_.append(file);
    QTimer::singleShot(0, this, &HandedFiles::openNext);
}

void HandedFiles::start() {
    started_ = true;
    bringWindowUp();
    QTimer::singleShot(0, this, &HandedFiles::openNext);
}

void HandedFiles::bringWindowUp() {
    window_.setWindowState((window_.windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window_.raise();
    if (window_.isActiveWindow())
        return;
    // The activation redraws the title without the file name: a file opens after it, so that
    // the title names the file just opened.
    awaitingActivation_ = true;
    window_.activateWindow();
    QTimer::singleShot(ActivationWaitMs, this, [this] {
        awaitingActivation_ = false;
        openNext();
    });
}

bool HandedFiles::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &window_ && event->type() == QEvent::ActivationChange &&
        window_.isActiveWindow()) {
        awaitingActivation_ = false;
        QTimer::singleShot(0, this, &HandedFiles::openNext);
    } else if (!pending_.isEmpty() && event->type() == QEvent::Hide && watched->isWidgetType()) {
        // A modal window that closes may have been what a handed file waited for.
        const auto* closed = static_cast<QWidget*>(watched);
        if (closed->isWindow() && closed->isModal())
            QTimer::singleShot(0, this, &HandedFiles::openNext);
    }
    return false;
}

void HandedFiles::openNext() {
    if (!started_ || awaitingActivation_ || opening_ || pending_.isEmpty() ||
        QApplication::activeModalWidget())
        return;
    opening_ = true;
    files_.openNamed(pending_.takeFirst());
    opening_ = false;
    if (!pending_.isEmpty())
        QTimer::singleShot(0, this, &HandedFiles::openNext);
}

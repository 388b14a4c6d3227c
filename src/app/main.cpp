#include "dialogs/CommonDialog.h"
#include "dialogs/gui/QtCommonDialogBackend.h"
#include "dialogs/gui/QtPrompts.h"
#include "link/Clock.h"
#include "link/DeviceLine.h"
#include "shell/Session.h"
#include "shell/SingleInstance.h"
#include "shell/gui/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>

namespace {
// For the start-up benchmark: with Q517_QUIT_AFTER_FIRST_PAINT set, the program ends as soon
// as its main window has been painted once.
class QuitAfterFirstPaint : public QObject {
public:
    explicit QuitAfterFirstPaint(QWidget& window) : window_(window) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!quitting_ && event->type() == QEvent::Paint && watched->isWidgetType() &&
            static_cast<QWidget*>(watched)->window() == &window_) {
            quitting_ = true;
            QTimer::singleShot(0, qApp, &QCoreApplication::quit);
        }
        return false;
    }

private:
    QWidget& window_;
    bool quitting_ = false;
};
} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("q517"));
    QApplication::setApplicationVersion(QStringLiteral(Q517_VERSION));

    QtPrompts prompts;
    QString runtimeDir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtimeDir.isEmpty())
        runtimeDir = QDir::tempPath();
    SingleInstance instance(runtimeDir);
    if (!instance.acquire()) {
        prompts.message(QStringLiteral("Program \"517\" is already IN USE"), QString(),
                        Prompts::Buttons::Ok, Prompts::Icon::None);
        return 0;
    }

    // The working directory holds the options file, the transfer file and the port links.
    const QString workDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(workDir);
    QDir::setCurrent(workDir);

    QtCommonDialogBackend dialogBackend;
    CommonDialog dialog(dialogBackend);
    dialog.setMaxFileSize(2048);
    SystemClock clock;
    DeviceLine line;
    Session session(prompts, clock, dialog, line, workDir);
    session.settings.Load(UserSettings::DefaultPath());
    session.link.state.NetworkPorts = session.settings.NetworkPorts();

    MainWindow window(session);
    window.setWindowState(Qt::WindowMaximized);
    if (!window.startUp())
        return 0;
    QuitAfterFirstPaint quitAfterFirstPaint(window);
    if (qEnvironmentVariableIsSet("Q517_QUIT_AFTER_FIRST_PAINT"))
        app.installEventFilter(&quitAfterFirstPaint);
    window.show();
    return app.exec();
}

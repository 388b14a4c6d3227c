#include "app/AppWindow.h"
#include "dialogs/CommonDialog.h"
#include "dialogs/gui/QtCommonDialogBackend.h"
#include "dialogs/gui/QtPrompts.h"
#include "link/Clock.h"
#include "model/LanguageTexts.h"
#include "model/gui/FileCommands.h"
#include "model/gui/HandedFiles.h"
#include "shell/LanguageScripts.h"
#include "shell/Session.h"
#include "shell/SingleInstance.h"
#include "shell/StartCommand.h"

#include <QApplication>
#include <QDir>
#include <QStandardPaths>
#include <QTimer>

#include <cstdio>

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
// Reads the command line before there is any window, so that --help and --version work
// without a display and never touch the lock. They speak the language the options file names.
StartCommand readCommandLine(int argc, char* argv[]) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    LanguageTexts texts;
    LanguageScripts::LoadOperatorTexts(
        texts, QStandardPaths::writableLocation(QStandardPaths::AppDataLocation));
    return ReadStartCommand(arguments, texts, QDir::currentPath());
}
} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication::setApplicationName(QStringLiteral("q517"));
    QCoreApplication::setApplicationVersion(QStringLiteral(Q517_VERSION));
    const StartCommand command = readCommandLine(argc, argv);
    if (command.action != StartCommand::Action::Window) {
        const QByteArray text = command.text.toLocal8Bit();
        std::fwrite(text.constData(), 1, size_t(text.size()),
                    command.action == StartCommand::Action::Print ? stdout : stderr);
        return command.exitStatus();
    }
    QApplication app(argc, argv);

    QtPrompts prompts;
    // The working directory holds the options file, the transfer file and the port links.
    const QString workDir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QString runtimeDir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtimeDir.isEmpty())
        runtimeDir = QDir::tempPath();
    SingleInstance instance(runtimeDir);
    if (!instance.acquire()) {
        // The running window comes to the front; a file given opens there.
        if (instance.handOver(command.file) && !command.file.isEmpty())
            return 0;
        // Said in the operator's language, read quietly: the running program owns the files.
        LanguageTexts texts;
        LanguageScripts::LoadOperatorTexts(texts, workDir);
        LanguageScripts::InstallToolkitTranslation(texts.LanguageCode());
        prompts.message(texts.Text(210), QString(), Prompts::Buttons::Ok, Prompts::Icon::None);
        return 0;
    }

    QDir().mkpath(workDir);
    QDir::setCurrent(workDir);

    QtCommonDialogBackend dialogBackend;
    CommonDialog dialog(dialogBackend);
    dialog.setMaxFileSize(2048);
    SystemClock clock;
    Session session(prompts, clock, dialog, workDir);
    session.settings.Load(UserSettings::DefaultPath());
    session.link.state.NetworkPorts = session.settings.NetworkPorts();

    AppWindow window(session);
    window.setWindowState(Qt::WindowMaximized);
    // Later starts may already knock while the start-up asks its questions.
    auto* handed = new HandedFiles(window, *window.findChild<FileCommands*>());
    QObject::connect(&instance, &SingleInstance::requested, handed, &HandedFiles::take);
    if (!command.file.isEmpty())
        handed->take(command.file);
    if (!window.startUp())
        return 0;
    QuitAfterFirstPaint quitAfterFirstPaint(window);
    if (qEnvironmentVariableIsSet("Q517_QUIT_AFTER_FIRST_PAINT"))
        app.installEventFilter(&quitAfterFirstPaint);
    window.show();
    handed->start();
    return app.exec();
}

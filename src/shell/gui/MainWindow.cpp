#include "shell/gui/MainWindow.h"

#include "dialogs/CommonDialog.h"
#include "dialogs/Prompts.h"
#include "dialogs/gui/WindowGeometry.h"
#include "dialogs/gui/WindowHost.h"
#include "link/Identification.h"
#include "link/LinkOutcome.h"
#include "link/PortMap.h"
#include "link/StartupLink.h"
#include "model/CamProgram.h"
#include "model/NumberForms.h"
#include "shell/LanguageScripts.h"
#include "shell/Session.h"
#include "shell/gui/AboutWindow.h"
#include "shell/gui/MainStatusBar.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

namespace {
class MainHost final : public WindowHost {
public:
    explicit MainHost(MainWindow& window) : WindowHost(&window), window_(window) {}

    Session& session() override { return window_.session(); }
    const MainActions& actions() const override { return window_.actions(); }
    QWidget* window() override { return &window_; }
    void setCentralPart(QWidget* part) override { window_.setCentralWidget(part); }
    QWidget* centralPart() const override { return window_.centralWidget(); }
    void addReadout(QWidget* readout) override { window_.status()->addReadout(readout); }
    void showResult(const QString& text, std::function<bool()> stillTrue) override {
        window_.showResult(text, std::move(stillTrue));
    }
    void refreshStatus() override { window_.refreshStatus(); }
    void refreshTitle() override { window_.refreshTitle(); }
    void showTitleWithFile(const QString& fileName) override {
        window_.showTitleWithFile(fileName);
    }
    void refreshRecentFiles() override { window_.refreshRecentFiles(); }
    void showCam(int format, int cam) override { window_.showCam(format, cam); }

private:
    MainWindow& window_;
};
} // namespace

MainWindow::MainWindow(Session& session, QWidget* parent)
    : QMainWindow(parent), session_(session), host_(new MainHost(*this)) {
    setObjectName(QStringLiteral("MAIN"));
    buildMenus();
    buildToolBar();
    status_ = new MainStatusBar(this);
    setStatusBar(status_);
    connect(host_, &WindowHost::menuOpening, host_, &WindowHost::hideEditors);
    // Whatever is redrawn may have changed the program: its unsaved marker follows.
    connect(host_, &WindowHost::redrawRequested, this, &MainWindow::refreshStatus);
    connect(host_, &WindowHost::camRowRedrawRequested, this, &MainWindow::refreshStatus);
    // A device that is unplugged, or a port link that changes, shows within a second.
    auto* watch = new QTimer(this);
    watch->setObjectName(QStringLiteral("StatusWatch"));
    connect(watch, &QTimer::timeout, this, &MainWindow::refreshStatus);
    watch->start(1000);
    // Every modal window and message box that closes gives the keyboard back to this window.
    qApp->installEventFilter(this);
    // The captions of whatever script the session holds now; start-up and Set Language
    // apply them again.
    applyTexts();
    resize(WindowGeometry::TwipsToPixels(WindowGeometry::DesignWidthTwips), 520);
}

QString MainWindow::programTitle() const {
    const CamProgram& p = session_.program;
    return session_.Text(33) + QStringLiteral(" C") + NumberForms::Standard(p.CamCount()) +
           QStringLiteral(" -") + NumberForms::Standard(p.FormatCount());
}

void MainWindow::refreshTitle() {
    setWindowTitle(programTitle());
    refreshStatus();
}

void MainWindow::showTitleWithFile(const QString& fileName) {
    setWindowTitle(programTitle() + QStringLiteral("  [") + fileName + QLatin1Char(']'));
    refreshStatus();
}

void MainWindow::refreshStatus() {
    const Options& options = session_.options;
    const LinkState& link = session_.link.state;
    QString device = link.DeviceOverride;
    if (device.isEmpty())
        device = PortMap::PortDevice(options.PortNumber, session_.workDir, link.NetworkPorts);
    const QString dot = QStringLiteral(" ") + QChar(0x00B7) + QStringLiteral(" ");
    status_->showPort(QStringLiteral("COM ") + QString::number(options.PortNumber) + dot +
                      (device.isEmpty() ? session_.Text(203) : device) + dot + options.BaudRate);
    // An open port is not yet a controller: one counts once it has told its type, on the
    // device the port names now, while that device is there, and until the line fails.
    const bool identified = link.PortStatus == LinkStatus::Ready && !link.ReadFailed &&
                            CamProgram::IsValidPair(link.IdentCamCount, link.IdentFormatCount) &&
                            !device.isEmpty() && link.IdentDevice == device &&
                            QFileInfo::exists(device);
    status_->showController(identified
                                ? ControllerDesignation(link.IdentCamCount, link.IdentFormatCount) +
                                      session_.Text(204)
                                : session_.Text(205));
    status_->showFile(session_.program.CurrentFileName, session_.program.ProgramSaved,
                      session_.Text(206));
    if (resultHolds_ && !resultHolds_()) {
        resultHolds_ = nullptr;
        status_->showResult(QString());
    }
}

void MainWindow::showResult(const QString& text, std::function<bool()> stillTrue) {
    resultHolds_ = std::move(stillTrue);
    status_->showResult(text);
}

void MainWindow::refreshRecentFiles() {
    for (QAction* a : std::as_const(recentActions_)) {
        fileMenu_->removeAction(a);
        a->deleteLater();
    }
    recentActions_.clear();
    const QStringList& files = session_.options.RecentFiles;
    recentSeparator_->setVisible(!files.isEmpty());
    const QList<QAction*> entries = fileMenu_->actions();
    const qsizetype at = entries.indexOf(recentSeparator_);
    QAction* before = at + 1 < entries.size() ? entries.at(at + 1) : nullptr;
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files.at(i);
        auto* a = new QAction(
            QStringLiteral("&") + QString::number(i + 1) + QLatin1Char(' ') + path, fileMenu_);
        a->setObjectName(QStringLiteral("F_Mnu_oldF_") + QString::number(i + 1));
        fileMenu_->insertAction(before, a);
        // The entry's path is its caption without its first three characters.
        connect(a, &QAction::triggered, this,
                [this, a] { emit host_->recentFileChosen(a->text().mid(3)); });
        recentActions_.append(a);
    }
}

bool MainWindow::loadLanguageOrAsk() {
    Options& options = session_.options;
    for (;;) {
        const QString path = DataPaths::Find(options.LanguageFile, session_.workDir);
        QString refused;
        if (!path.isEmpty()) {
            if (LanguageScripts::Load(session_.texts, path, &refused))
                return true;
            refused = QStringLiteral("\n") + path + QStringLiteral(": ") + refused;
        }
        const auto answer =
            session_.prompts.message(QStringLiteral(" FILE '\"") + options.LanguageFile +
                                         QStringLiteral("\"' IS NOT AVAILABLE") + refused,
                                     QStringLiteral("UNRECOV. DEF.FILE ERROR"),
                                     Prompts::Buttons::RetryCancel, Prompts::Icon::Critical);
        if (answer != Prompts::Answer::Retry)
            return false;
        // Without a script every caption and every question would be blank, and an operator
        // cannot answer a question he cannot read: ask again until a script is chosen or
        // the operator gives up.
        if (setLanguage())
            return true;
    }
}

bool MainWindow::setLanguage() {
    CommonDialog& dialog = session_.dialog;
    dialog.DialogTitle = session_.Text(207);
    dialog.Filter = session_.Text(208) + QStringLiteral(" (*.SCR)|*.SCR;*.scr|") +
                    session_.Text(73) + QStringLiteral("(*.*)|*.*");
    dialog.FilterIndex = 1;
    dialog.FileName.clear();
    // Scripts live beside the one in use (the installed ones, or the operator's own copy).
    const QString current = DataPaths::Find(session_.options.LanguageFile, session_.workDir);
    dialog.InitDir = current.isEmpty() ? QDir::homePath() : QFileInfo(current).absolutePath();
    // The wrapper is shared: a cancel here is an answer, never an error to raise.
    dialog.CancelError = false;
    if (!dialog.ShowOpen() || dialog.FileName.isEmpty())
        return false;
    const QFileInfo chosen(dialog.FileName);
    // A file that is no script (empty, binary, far too short) keeps the language in use.
    QString refused;
    if (!chosen.isFile() || !LanguageTexts().LoadLanguage(chosen.absoluteFilePath(), &refused)) {
        session_.prompts.message(session_.Text(209) +
                                     (refused.isEmpty()
                                          ? QString()
                                          : QLatin1Char('\n') + chosen.absoluteFilePath() +
                                                QStringLiteral(": ") + refused),
                                 QString(), Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return false;
    }
    session_.options.LanguageFile = chosen.absoluteFilePath();
    session_.options.WriteOptionsFile(session_.workDir, session_.prompts);
    LanguageScripts::Load(session_.texts, session_.options.LanguageFile);
    applyTexts();
    return true;
}

bool MainWindow::startUp() {
    session_.options.ReadOptionsFile(session_.workDir, session_.prompts);
    refreshRecentFiles();
    if (!loadLanguageOrAsk())
        return false;
    applyTexts();
    CamProgram& p = session_.program;
    p.Reconfigure(24, 6, false);
    p.ProgramSaved = true;
    p.CurrentCam = 1;
    p.CurrentFormat = 1;
    ShowOutcome(session_.linkContext(), StartupIdentify(session_.linkContext(), session_.program),
                session_.Text(232) + QString::number(session_.options.PortNumber));
    // The arrays for the pair now in force (the controller may have changed it), all off.
    p.Reconfigure(p.CamCount(), p.FormatCount(), false);
    session_.edit.restart();
    refreshTitle();
    return true;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide && watched != this && watched->isWidgetType()) {
        const auto* closed = static_cast<QWidget*>(watched);
        if (closed->isWindow() && closed->isModal())
            QTimer::singleShot(0, this, &MainWindow::takeBackFocus);
    }
    return QMainWindow::eventFilter(watched, event);
}

void MainWindow::takeBackFocus() {
    // Without a window manager (or with a lazy one) nobody else does it: the keyboard would
    // stay with no window, and the shortcuts would need a click first.
    if (isVisible() && !QApplication::activeModalWidget() && !QApplication::activePopupWidget())
        activateWindow();
}

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow())
        onActivated();
}

void MainWindow::onActivated() {
    if (activating_)
        return;
    activating_ = true;
    const double designPixels = WindowGeometry::TwipsToPixels(WindowGeometry::DesignWidthTwips);
    QWidget* central = centralWidget();
    if (windowScale_ == 0 && width() > designPixels && central) {
        // A wide screen at a large scale (1920x1080 at twice) is short for the width: the
        // lowest control, the cam name field, must stay above the status bar.
        const int bottom = WindowGeometry::PlacedBottom(central);
        const double byHeight = bottom > 0 ? (central->height() - 1.0) / bottom : 0;
        windowScale_ = width() / designPixels;
        if (byHeight > 0)
            windowScale_ = std::max(1.0, std::min(windowScale_, byHeight));
        if (windowScale_ > 1)
            WindowGeometry::ScaleWindow(central, windowScale_, true);
    }
    setWindowState(windowState() | Qt::WindowMaximized);
    refreshTitle();
    host_->redrawFormat();
    activating_ = false;
}

void MainWindow::showAbout() {
    AboutWindow about(session_.texts, this);
    about.exec();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    session_.options.WriteOptionsFile(session_.workDir, session_.prompts);
    if (!session_.program.ProgramSaved) {
        const auto answer =
            session_.prompts.message(session_.Text(110), windowTitle(),
                                     Prompts::Buttons::YesNoDefaultNo, Prompts::Icon::Warning);
        if (answer == Prompts::Answer::No) {
            event->ignore();
            return;
        }
    }
    // Unload: a scratch file "_._" left in the working directory goes with the program.
    QFile::remove(session_.workPath(QStringLiteral("_._")));
    event->accept();
}

void MainWindow::showCam(int format, int cam) {
    if (!session_.program.IsValidFormat(format) || !session_.program.IsValidCam(cam))
        return;
    host_->hideEditors();
    session_.edit.selectFormat(format);
    session_.edit.selectCam(cam);
    host_->redrawFormat();
    raise();
    activateWindow();
}

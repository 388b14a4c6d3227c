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

QAction* MainWindow::addEntry(QMenu* menu, const char* name, const QString& caption,
                              const QKeySequence& shortcut) {
    QAction* a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    if (!shortcut.isEmpty())
        a->setShortcut(shortcut);
    return a;
}

void MainWindow::buildMenus() {
    QMenuBar* bar = menuBar();

    fileMenu_ = bar->addMenu(QString());
    fileMenu_->setObjectName(QStringLiteral("F_"));
    actions_.f_New = addEntry(fileMenu_, "f_New", QString());
    actions_.f_Open = addEntry(fileMenu_, "f_Open", QString());
    actions_.f_Save = addEntry(fileMenu_, "f_Save", QString(), QKeySequence(Qt::Key_F9));
    actions_.f_SaveAS =
        addEntry(fileMenu_, "f_SaveAS", QString(), QKeySequence(Qt::CTRL | Qt::Key_A));
    actions_.f_Compare = addEntry(fileMenu_, "f_Compare", QString());
    fileMenu_->addSeparator();
    actions_.Sel_prg =
        addEntry(fileMenu_, "Sel_prg", QString(), QKeySequence(Qt::CTRL | Qt::Key_R));
    fileMenu_->addSeparator();
    actions_.f_SelPr = addEntry(fileMenu_, "f_SelPr", QString());
    actions_.Pr_Size =
        addEntry(fileMenu_, "Pr_Size", QString(), QKeySequence(Qt::CTRL | Qt::Key_P));
    recentSeparator_ = fileMenu_->addSeparator();
    recentSeparator_->setObjectName(QStringLiteral("F_Mnu_oldF"));
    recentSeparator_->setVisible(false);
    fileMenu_->addSeparator();
    actions_.f_Exit = addEntry(fileMenu_, "f_Exit", QString(), QKeySequence(Qt::CTRL | Qt::Key_X));

    QMenu* sizes = bar->addMenu(QString());
    sizes->setObjectName(QStringLiteral("S_"));
    actions_.S_Sel = addEntry(sizes, "S_Sel", QString(), QKeySequence(Qt::CTRL | Qt::Key_L));
    actions_.S_Cop = addEntry(sizes, "S_Cop", QString(), QKeySequence(Qt::CTRL | Qt::Key_C));
    actions_.s_Clr = addEntry(sizes, "s_Clr", QString(), QKeySequence(Qt::CTRL | Qt::Key_E));
    sizes->addSeparator();
    actions_.S_Imp = addEntry(sizes, "S_Imp", QString(), QKeySequence(Qt::CTRL | Qt::Key_M));
    sizes->addSeparator();
    actions_.O_CopyC = addEntry(sizes, "O_CopyC", QString(), QKeySequence(Qt::CTRL | Qt::Key_Y));
    actions_.O_Shc = addEntry(sizes, "O_Shc", QString(), QKeySequence(Qt::CTRL | Qt::Key_H));
    actions_.O_ClC = addEntry(sizes, "O_ClC", QString(), QKeySequence(Qt::Key_Delete));
    actions_.o_MODC = addEntry(sizes, "o_MODC", QString(), QKeySequence(Qt::CTRL | Qt::Key_Insert));
    actions_.o_Undo = addEntry(sizes, "o_Undo", QString(), QKeySequence(Qt::CTRL | Qt::Key_Z));
    actions_.o_Undo->setEnabled(false);
    actions_.o_Redo =
        addEntry(sizes, "o_Redo", QString(), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z));
    actions_.o_Redo->setEnabled(false);

    QMenu* functions = bar->addMenu(QString());
    functions->setObjectName(QStringLiteral("Fu_"));
    actions_.Fu_Set = addEntry(functions, "Fu_Set", QString());
    actions_.Fu_Timing =
        addEntry(functions, "Fu_Timing", QString(), QKeySequence(Qt::CTRL | Qt::Key_T));

    QMenu* comm = bar->addMenu(QString());
    comm->setObjectName(QStringLiteral("c_"));
    actions_.C_Trsz = addEntry(comm, "C_Trsz", QString(), QKeySequence(Qt::SHIFT | Qt::Key_F5));
    actions_.c_Rcsz = addEntry(comm, "c_Rcsz", QString(), QKeySequence(Qt::SHIFT | Qt::Key_F4));
    actions_.C_Compare = addEntry(comm, "C_Compare", QString());
    comm->addSeparator();
    actions_.Upd_Flash = addEntry(comm, "Upd_Flash", QString(), QKeySequence(Qt::CTRL | Qt::Key_U));

    QMenu* options = bar->addMenu(QString());
    options->setObjectName(QStringLiteral("o_"));
    actions_.o_SetPort = addEntry(options, "o_SetPort", QString());
    actions_.o_Setlng = addEntry(options, "o_Setlng", QString());
    options->addSeparator();
    actions_.o_Verify = addEntry(options, "o_Verify", QString());
    actions_.o_Verify->setCheckable(true);

    actions_.INF = bar->addAction(QString());
    actions_.INF->setObjectName(QStringLiteral("INF"));

    for (QMenu* m : {fileMenu_, sizes, functions, comm, options})
        connect(m, &QMenu::aboutToShow, host_, &WindowHost::menuOpening);

    connect(actions_.f_Exit, &QAction::triggered, this, &QWidget::close);
    connect(actions_.INF, &QAction::triggered, this, &MainWindow::showAbout);
    connect(actions_.o_Setlng, &QAction::triggered, this, &MainWindow::setLanguage);
}

void MainWindow::buildToolBar() {
    toolBar_ = addToolBar(QString());
    toolBar_->setObjectName(QStringLiteral("Toolbar1"));
    toolBar_->setMovable(false);
    auto button = [this](const char* name, QStyle::StandardPixmap icon) {
        QAction* a = toolBar_->addAction(style()->standardIcon(icon), QString());
        a->setObjectName(QString::fromLatin1(name));
        return a;
    };
    actions_.Sel_Form = button("Sel_Form", QStyle::SP_FileDialogContentsView);
    actions_.Sv_Fil = button("Sv_Fil", QStyle::SP_DialogSaveButton);
    actions_.OP_FIL = button("OP_FIL", QStyle::SP_DialogOpenButton);
    actions_.New_Fil = button("New_Fil", QStyle::SP_FileIcon);
    actions_.GoPrCam = button("GoPrCam", QStyle::SP_ArrowRight);
    actions_.Azz_Form = button("Azz_Form", QStyle::SP_TrashIcon);
}

QMenu* MainWindow::menu(const QString& name) const {
    return findChild<QMenu*>(name);
}

void MainWindow::applyTexts() {
    LanguageScripts::InstallToolkitTranslation(session_.texts.LanguageCode());
    setWindowTitle(session_.Text(33));
    const MainActions& a = actions_;
    fileMenu_->setTitle(session_.Text(170));
    a.f_New->setText(session_.Text(171));
    a.f_Open->setText(session_.Text(172));
    a.f_Save->setText(session_.Text(173));
    a.f_SaveAS->setText(session_.Text(174));
    a.f_Compare->setText(session_.Text(175));
    a.Sel_prg->setText(session_.Text(176));
    a.f_SelPr->setText(session_.Text(177));
    a.Pr_Size->setText(session_.Text(178));
    a.f_Exit->setText(session_.Text(179));
    menu(QStringLiteral("S_"))->setTitle(session_.Text(180));
    a.S_Sel->setText(session_.Text(181));
    a.S_Cop->setText(session_.Text(182));
    a.s_Clr->setText(session_.Text(183));
    a.S_Imp->setText(session_.Text(184));
    a.O_CopyC->setText(session_.Text(185));
    a.O_Shc->setText(session_.Text(186));
    a.O_ClC->setText(session_.Text(187));
    a.o_MODC->setText(session_.Text(188));
    a.o_Undo->setText(session_.Text(189));
    a.o_Redo->setText(session_.Text(190));
    menu(QStringLiteral("Fu_"))->setTitle(session_.Text(191));
    a.Fu_Set->setText(session_.Text(214));
    a.Fu_Timing->setText(session_.Text(215));
    menu(QStringLiteral("c_"))->setTitle(session_.Text(192));
    a.C_Trsz->setText(session_.Text(193));
    a.c_Rcsz->setText(session_.Text(194));
    a.C_Compare->setText(session_.Text(195));
    a.Upd_Flash->setText(session_.Text(196));
    menu(QStringLiteral("o_"))->setTitle(session_.Text(197));
    a.o_SetPort->setText(session_.Text(198));
    a.o_Setlng->setText(session_.Text(199));
    a.o_Verify->setText(session_.Text(200));
    a.INF->setText(session_.Text(201));
    toolBar_->setWindowTitle(session_.Text(202));
    actions_.Sel_Form->setToolTip(session_.Text(123));
    actions_.Sv_Fil->setToolTip(session_.Text(129));
    actions_.OP_FIL->setToolTip(session_.Text(128));
    actions_.New_Fil->setToolTip(session_.Text(127));
    actions_.GoPrCam->setToolTip(session_.Text(121));
    actions_.Azz_Form->setToolTip(session_.Text(122));
    emit host_->textsChanged();
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

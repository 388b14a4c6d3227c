#include "shell/gui/MainWindow.h"

#include "dialogs/CommonDialog.h"
#include "dialogs/Prompts.h"
#include "link/StartupLink.h"
#include "model/NumberForms.h"
#include "shell/Session.h"
#include "shell/gui/AboutWindow.h"
#include "shell/gui/Subsystems.h"
#include "shell/gui/WindowGeometry.h"

#include <QAction>
#include <QCloseEvent>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

MainWindow::MainWindow(Session& session, QWidget* parent) : QMainWindow(parent), session_(session) {
    setObjectName(QStringLiteral("MAIN"));
    setWindowTitle(QStringLiteral("PROGRAMMATORE Q517"));
    buildMenus();
    buildToolBar();
    connect(this, &MainWindow::menuOpening, this, &MainWindow::hideEditors);
    InstallSubsystems(*this);
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

    fileMenu_ = bar->addMenu(QStringLiteral("&File"));
    fileMenu_->setObjectName(QStringLiteral("F_"));
    addEntry(fileMenu_, "f_New", QStringLiteral("&New"));
    addEntry(fileMenu_, "f_Open", QStringLiteral("&Open"));
    addEntry(fileMenu_, "f_Save", QStringLiteral("&Save"), QKeySequence(Qt::Key_F9));
    addEntry(fileMenu_, "f_SaveAS", QStringLiteral("Save &As"), QKeySequence(Qt::CTRL | Qt::Key_A));
    fileMenu_->addSeparator();
    addEntry(fileMenu_, "Sel_prg", QStringLiteral("Select P&rogrammer"),
             QKeySequence(Qt::CTRL | Qt::Key_R));
    fileMenu_->addSeparator();
    addEntry(fileMenu_, "f_SelPr", QStringLiteral("Se&lect Printer"));
    addEntry(fileMenu_, "Pr_Size", QStringLiteral("&Print"), QKeySequence(Qt::CTRL | Qt::Key_P));
    recentSeparator_ = fileMenu_->addSeparator();
    recentSeparator_->setObjectName(QStringLiteral("F_Mnu_oldF"));
    recentSeparator_->setVisible(false);
    fileMenu_->addSeparator();
    addEntry(fileMenu_, "f_Exit", QStringLiteral("&Exit"), QKeySequence(Qt::CTRL | Qt::Key_X));

    QMenu* sizes = bar->addMenu(QStringLiteral("&Sizes"));
    sizes->setObjectName(QStringLiteral("S_"));
    addEntry(sizes, "S_Sel", QStringLiteral("Se&lect Size"), QKeySequence(Qt::CTRL | Qt::Key_L));
    addEntry(sizes, "S_Cop", QStringLiteral("&Copy Size"), QKeySequence(Qt::CTRL | Qt::Key_C));
    addEntry(sizes, "s_Clr", QStringLiteral("&Erase Size"), QKeySequence(Qt::CTRL | Qt::Key_E));
    sizes->addSeparator();
    addEntry(sizes, "S_Imp", QStringLiteral("&Import Size"), QKeySequence(Qt::CTRL | Qt::Key_M));
    sizes->addSeparator();
    addEntry(sizes, "O_CopyC", QStringLiteral("Cop&y Cam"), QKeySequence(Qt::CTRL | Qt::Key_Y));
    addEntry(sizes, "O_Shc", QStringLiteral("S&hift Cam"), QKeySequence(Qt::CTRL | Qt::Key_H));
    addEntry(sizes, "O_ClC", QStringLiteral("E&rase Cam"), QKeySequence(Qt::Key_Delete));
    addEntry(sizes, "o_MODC", QStringLiteral("&Modify Cam"),
             QKeySequence(Qt::CTRL | Qt::Key_Insert));
    addEntry(sizes, "o_Undo", QStringLiteral("&Undo"), QKeySequence(Qt::CTRL | Qt::Key_Z))
        ->setEnabled(false);

    QAction* functions = bar->addAction(QStringLiteral("Fu&nctions"));
    functions->setObjectName(QStringLiteral("Fu_Set"));

    QMenu* comm = bar->addMenu(QStringLiteral("C&omm"));
    comm->setObjectName(QStringLiteral("c_"));
    addEntry(comm, "C_Trsz", QStringLiteral("Transmit Sizes"),
             QKeySequence(Qt::SHIFT | Qt::Key_F5));
    addEntry(comm, "c_Rcsz", QStringLiteral("Receive Sizes"), QKeySequence(Qt::SHIFT | Qt::Key_F4));
    comm->addSeparator();
    addEntry(comm, "Upd_Flash", QStringLiteral("Update FLASH"), QKeySequence(Qt::CTRL | Qt::Key_U));

    QMenu* options = bar->addMenu(QStringLiteral("O&ptions"));
    options->setObjectName(QStringLiteral("o_"));
    addEntry(options, "o_SetPort", QStringLiteral("Set &Commport"));
    addEntry(options, "o_Setlng", QStringLiteral("Set &Language"));

    QAction* info = bar->addAction(QStringLiteral("&Info"));
    info->setObjectName(QStringLiteral("INF"));

    for (QMenu* m : {fileMenu_, sizes, comm, options})
        connect(m, &QMenu::aboutToShow, this, &MainWindow::menuOpening);

    connect(action(QStringLiteral("f_Exit")), &QAction::triggered, this, &QWidget::close);
    connect(info, &QAction::triggered, this, &MainWindow::showAbout);
    connect(action(QStringLiteral("o_Setlng")), &QAction::triggered, this,
            &MainWindow::setLanguage);
}

void MainWindow::buildToolBar() {
    toolBar_ = addToolBar(QStringLiteral("Tools"));
    toolBar_->setObjectName(QStringLiteral("Toolbar1"));
    toolBar_->setMovable(false);
    struct Button {
        const char* name;
        QStyle::StandardPixmap icon;
    };
    const Button buttons[] = {
        {"Sel_Form", QStyle::SP_FileDialogContentsView},
        {"Sv_Fil", QStyle::SP_DialogSaveButton},
        {"OP_FIL", QStyle::SP_DialogOpenButton},
        {"New_Fil", QStyle::SP_FileIcon},
        {"GoPrCam", QStyle::SP_ArrowRight},
        {"Azz_Form", QStyle::SP_TrashIcon},
    };
    for (const Button& b : buttons) {
        QAction* a = toolBar_->addAction(style()->standardIcon(b.icon), QString());
        a->setObjectName(QString::fromLatin1(b.name));
    }
}

QAction* MainWindow::action(const QString& name) const {
    return findChild<QAction*>(name);
}

QMenu* MainWindow::menu(const QString& name) const {
    return findChild<QMenu*>(name);
}

void MainWindow::applyTexts() {
    const struct {
        const char* name;
        int text;
    } tips[] = {{"Sel_Form", 123}, {"Sv_Fil", 129},  {"OP_FIL", 128},
                {"New_Fil", 127},  {"GoPrCam", 121}, {"Azz_Form", 122}};
    for (const auto& tip : tips) {
        if (QAction* a = action(QString::fromLatin1(tip.name)))
            a->setToolTip(session_.Text(tip.text));
    }
    emit textsChanged();
}

QString MainWindow::programTitle() const {
    const CamProgram& p = session_.program;
    return session_.Text(33) + QStringLiteral(" C") + NumberForms::Standard(p.CamCount()) +
           QStringLiteral(" -") + NumberForms::Standard(p.FormatCount());
}

void MainWindow::refreshTitle() {
    setWindowTitle(programTitle());
}

void MainWindow::showTitleWithFile(const QString& fileName) {
    setWindowTitle(programTitle() + QStringLiteral("  [") + fileName + QLatin1Char(']'));
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
                [this, a] { emit recentFileChosen(a->text().mid(3)); });
        recentActions_.append(a);
    }
}

bool MainWindow::loadLanguageOrAsk() {
    Options& options = session_.options;
    for (;;) {
        const QString path = DataPaths::Find(options.LanguageFile, session_.workDir);
        QString refused;
        if (!path.isEmpty()) {
            if (session_.texts.LoadLanguage(path, &refused))
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
    dialog.DialogTitle = QStringLiteral("SELECT LANGUAGE");
    dialog.Filter = QStringLiteral("File Script Lang. (*.Scr)|*.scr|All Files (*.*)|*.*");
    dialog.FilterIndex = 1;
    dialog.FileName.clear();
    // The wrapper is shared: a cancel here is an answer, never an error to raise.
    dialog.CancelError = false;
    if (!dialog.ShowOpen() || dialog.FileName.isEmpty())
        return false;
    const QFileInfo chosen(dialog.FileName);
    if (!chosen.isFile()) {
        session_.prompts.message(QStringLiteral("FILE ERROR"), QString(), Prompts::Buttons::Ok,
                                 Prompts::Icon::Critical);
        return false;
    }
    session_.options.LanguageFile = chosen.absoluteFilePath();
    session_.options.WriteOptionsFile(session_.workDir, session_.prompts);
    session_.texts.LoadLanguage(session_.options.LanguageFile);
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
    StartupIdentify(session_);
    // The arrays for the pair now in force (the controller may have changed it), all off.
    p.Reconfigure(p.CamCount(), p.FormatCount(), false);
    p.UndoDegrees.fill(0);
    refreshTitle();
    return true;
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
    if (windowScale_ == 0 && width() > designPixels) {
        windowScale_ = width() / designPixels;
        if (QWidget* central = centralWidget())
            WindowGeometry::ScaleWindow(central, windowScale_, true);
    }
    setWindowState(windowState() | Qt::WindowMaximized);
    refreshTitle();
    redrawFormat();
    activating_ = false;
}

void MainWindow::showAbout() {
    AboutWindow about(this);
    about.exec();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    session_.options.WriteOptionsFile(session_.workDir, session_.prompts);
    if (!session_.program.ProgramSaved) {
        const auto answer = session_.prompts.message(
            session_.Text(110), windowTitle(), Prompts::Buttons::YesNo, Prompts::Icon::Warning);
        if (answer == Prompts::Answer::No) {
            event->ignore();
            return;
        }
    }
    // Unload: a scratch file "_._" left in the working directory goes with the program.
    QFile::remove(session_.workPath(QStringLiteral("_._")));
    event->accept();
}

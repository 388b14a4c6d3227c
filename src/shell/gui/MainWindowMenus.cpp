// The main window's menus, toolbar and their captions from the language script.
#include "shell/gui/MainWindow.h"

#include "dialogs/gui/WindowHost.h"
#include "shell/LanguageScripts.h"
#include "shell/Session.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QStyle>
#include <QToolBar>

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

#pragma once

#include "dialogs/gui/MainActions.h"
#include "dialogs/gui/WindowHost.h"

#include <QMainWindow>

#include <functional>

struct Session;
class MainStatusBar;
class QAction;
class QMenu;
class QToolBar;

// MAIN: the one main window. It owns the menus, the toolbar and the status bar; the window
// parts are installed into its host() and connect their own handlers to its actions.
class MainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit MainWindow(Session& session, QWidget* parent = nullptr);

    Session& session() { return session_; }
    // What the window parts are given: actions, status bar, parent, session, requests.
    WindowHost& host() { return *host_; }

    // The menu entries and toolbar buttons, by control name: actions().f_Save.
    const MainActions& actions() const { return actions_; }
    // The status bar; addReadout() gives a window part a place at its right end.
    MainStatusBar* status() const { return status_; }
    QMenu* menu(const QString& name) const;

    // Start-up steps 4 to 9 (options, language, captions, model, line, arrays); the editor
    // prepares its format stepper itself.
    // False when the operator chose to end the program (a missing language script).
    bool startUp();

    // Text 33 and the counts: " C 24 - 6".
    QString programTitle() const;
    void refreshTitle();
    // Title with the file name part, as shown after Open and Save As until the next activation.
    void showTitleWithFile(const QString& fileName);
    // Port, controller and file of the status bar, from the session as it stands.
    void refreshStatus();
    // The result of a long operation (a transfer, a flash update, a PDF), kept in the status
    // bar until the next one, or, with stillTrue, until stillTrue says it no longer holds
    // (a comparison, once the program or the port changed).
    void showResult(const QString& text, std::function<bool()> stillTrue = {});

    // Sets the captions and tooltips that come from the language texts.
    void applyTexts();
    // Rebuilds the recent-file entries at the foot of the File menu.
    void refreshRecentFiles();

    // Brings the editor to that format and cam, and the main window to the front; a format or
    // cam the program does not hold is ignored.
    void showCam(int format, int cam);

    double windowScale() const { return windowScale_; }

    // Runs Set Language: choose a script, store it in the options, reload every caption.
    // True when a new script was loaded.
    bool setLanguage();
    // Loads LanguageFile, asking Retry/Cancel while the script exists nowhere; Retry runs
    // Set Language. False when the operator chose Cancel.
    bool loadLanguageOrAsk();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenus();
    void buildToolBar();
    void onActivated();
    void takeBackFocus();
    void showAbout();
    QAction* addEntry(QMenu* menu, const char* name, const QString& caption,
                      const QKeySequence& shortcut = QKeySequence());

    Session& session_;
    MainActions actions_;
    WindowHost* host_ = nullptr;
    MainStatusBar* status_ = nullptr;
    QToolBar* toolBar_ = nullptr;
    QMenu* fileMenu_ = nullptr;
    QAction* recentSeparator_ = nullptr;
    QList<QAction*> recentActions_;
    double windowScale_ = 0;
    bool activating_ = false;
    std::function<bool()> resultHolds_;
};

#pragma once

#include <QObject>
#include <QString>

#include <functional>

struct MainActions;
struct Session;
class QWidget;

// What a part of the main window (the editor, the commands of a menu) is given by the window
// it is installed in: the menu entries and toolbar buttons to connect to, the status bar, the
// parent of its own windows and the session. Requests from one part to another (draw the
// format again, close the entry fields) go out as signals, so no part knows another part nor
// the main window itself.
class WindowHost : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    virtual Session& session() = 0;
    // The menu entries and toolbar buttons, by control name: actions().f_Save.
    virtual const MainActions& actions() const = 0;
    // The parent of the part's windows; its title is the title of the part's message boxes.
    virtual QWidget* window() = 0;
    QString windowTitle();
    // The part that fills the middle of the window (the cam editor); it takes ownership.
    virtual void setCentralPart(QWidget* part) = 0;
    virtual QWidget* centralPart() const = 0;

    // Puts a readout (a degree, a position) at the right end of the status bar, which takes it.
    virtual void addReadout(QWidget* readout) = 0;
    // The result of a long operation (a transfer, a flash update, a PDF), kept in the status
    // bar until the next one, or, with stillTrue, until stillTrue says it no longer holds
    // (a comparison, once the program or the port changed).
    virtual void showResult(const QString& text, std::function<bool()> stillTrue = {}) = 0;
    // Port, controller and file of the status bar, from the session as it stands.
    virtual void refreshStatus() = 0;
    // The title with the program's size; with the file name part, as after Open and Save As.
    virtual void refreshTitle() = 0;
    virtual void showTitleWithFile(const QString& fileName) = 0;
    // The recent-file entries at the foot of the File menu, from the options.
    virtual void refreshRecentFiles() = 0;
    // Brings the editor to that format and cam, and the main window to the front; a format or
    // cam the program does not hold is ignored.
    virtual void showCam(int format, int cam) = 0;

    void redrawFormat() { emit redrawRequested(); }
    void hideEditors() { emit hideEditorsRequested(); }
    void drawCamRow(int cam) { emit camRowRedrawRequested(cam); }
    void openCamEditor(int cam) { emit openEditorRequested(cam); }
    void announceTransmitted() { emit programTransmitted(); }

signals:
    // One of the File, Sizes, Comm or Options menus is opening: the entry fields close.
    void menuOpening();
    // A recent-file entry was chosen.
    void recentFileChosen(const QString& path);
    // The language texts were (re)loaded: every part sets its captions again.
    void textsChanged();
    // The current format is to be drawn again (activation, a modal window closed, a load).
    void redrawRequested();
    // The entry fields are to close (HideEditors).
    void hideEditorsRequested();
    // One cam row of the current format and, for the current cam, its phase list.
    void camRowRedrawRequested(int cam);
    // Cam is to become the current cam with its ON/OFF entry fields open.
    void openEditorRequested(int cam);
    // Transmit Sizes put the whole program into the controller.
    void programTransmitted();
};

#pragma once

#include "editor/CamOperations.h"
#include "model/EditSession.h"

#include <QObject>

class WindowHost;
class QAction;

// The cam entries of the Sizes menu: Copy Cam, Shift Cam, Erase Cam, Modify Cam, Undo and
// Redo. They act on the current cam of the current format and redraw through the main
// window; each change is a step of the session's edit history, which Undo and Redo walk
// and name.
class CamCommands : public QObject {
    Q_OBJECT
public:
    explicit CamCommands(WindowHost& window);

private:
    void copyCam();
    void shiftCam();
    void eraseCam();
    void modifyCam();
    void undo();
    void redo();
    void showHistory();
    void redraw(CamOperations::Redraw what);
    // Ends the step a cam command began and draws what it changed.
    void recorded(CamOperations::Redraw what, StepLabel::Kind kind);

    WindowHost& window_;
    QAction* undo_;
    QAction* redo_;
};

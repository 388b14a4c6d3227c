#pragma once

#include "editor/CamOperations.h"

#include <QObject>

class MainWindow;
class QAction;

// The cam entries of the Sizes menu: Copy Cam, Shift Cam, Erase Cam, Modify Cam and Undo.
// They act on the current cam of the current format and redraw through the main window.
class CamCommands : public QObject {
    Q_OBJECT
public:
    explicit CamCommands(MainWindow& window);

private:
    void copyCam();
    void shiftCam();
    void eraseCam();
    void modifyCam();
    void undo();
    void undoAvailabilityChanged();
    void redraw(CamOperations::Redraw what);

    MainWindow& window_;
    QAction* undo_;
    bool undoWasEnabled_ = false;
    // The cam the undo record was taken from, noted when Undo becomes available, so that
    // the record is never written into another cam or another format.
    int undoFormat_ = 0;
    int undoCam_ = 0;
};

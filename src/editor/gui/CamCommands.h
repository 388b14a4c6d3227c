#pragma once

#include "editor/CamOperations.h"

#include <QObject>

class MainWindow;
class QAction;

// The cam entries of the Sizes menu: Copy Cam, Shift Cam, Erase Cam, Modify Cam, Undo and
// Redo. They act on the current cam of the current format and redraw through the main
// window; Undo and Redo are enabled exactly when the session's edit history allows them.
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
    void redo();
    void showHistory();
    void redraw(CamOperations::Redraw what);

    MainWindow& window_;
    QAction* undo_;
    QAction* redo_;
};

#pragma once

#include <QObject>

class MainWindow;

// Options > Set Commport (o_SetPort) and File > Select Programmer (Sel_prg).
class LinkCommands : public QObject {
    Q_OBJECT
public:
    explicit LinkCommands(MainWindow& window);

    void openPortWindow();
    void openProgrammerTypeWindow();

private:
    MainWindow& window_;
};

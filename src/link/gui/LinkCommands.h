#pragma once

#include <QObject>

class WindowHost;

// Options > Set Commport (o_SetPort) and File > Select Programmer (Sel_prg).
class LinkCommands : public QObject {
    Q_OBJECT
public:
    explicit LinkCommands(WindowHost& window);

    void openPortWindow();
    void openProgrammerTypeWindow();

private:
    WindowHost& window_;
};

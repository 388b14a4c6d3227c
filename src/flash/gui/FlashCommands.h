#pragma once

#include "flash/HexFileChoice.h"

#include <QObject>

class WindowHost;

// Comm > Update FLASH (Upd_Flash): choose an image and run the update window. Keeps the
// image chosen last for the next time, while the program runs.
class FlashCommands : public QObject {
    Q_OBJECT
public:
    explicit FlashCommands(WindowHost& window);

    void updateFlash();
    const HexFileMemory& memory() const { return memory_; }

private:
    WindowHost& window_;
    HexFileMemory memory_;
};

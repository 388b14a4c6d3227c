#pragma once

#include <QObject>
#include <QPointer>

class WindowHost;
class TimingWindow;

// Functions > Timing at Speed...: opens the timing window beside the editor (one at a time;
// asked again, it comes to the front). A double-click on a cam there shows it in the editor.
class TimingCommands : public QObject {
    Q_OBJECT
public:
    explicit TimingCommands(WindowHost& window);

private:
    void openTiming();
    void goToCam(int format, int cam);

    WindowHost& window_;
    QPointer<TimingWindow> timing_;
};

#pragma once

#include <QObject>

#include <functional>

class CamProgram;
class DifferencesWindow;
class WindowHost;

// File > Compare with File..., Comm > Compare with Controller and Options > Verify after
// Transmit: each comparison opens the differences window (DIFF) on the program in memory
// (A) and the other side (B); double-clicking a difference shows that format and cam in the
// editor. The program in memory is never changed by a comparison.
class CompareCommands : public QObject {
    Q_OBJECT
public:
    explicit CompareCommands(WindowHost& window);

    void compareWithFile();
    void compareWithController();
    // After Transmit Sizes, when the user asked for it: reads the program back and reports
    // "Verified: the controller holds the program" or opens the differences window.
    void verifyAfterTransmit();
    void setVerifyAfterTransmit(bool on);

private:
    // Receives the controller's program and compares; sayWhenSame: a box says it agrees
    // instead of the window.
    void compareWithControllerThen(bool sayWhenSame);
    // again runs the comparison once more when the window is out of date and asked to.
    DifferencesWindow* openDifferences(const CamProgram& other, const QString& caption,
                                       const std::function<bool()>& otherSideSame,
                                       const std::function<void()>& again);
    // True while the program in memory is as it is now and otherSideSame holds.
    std::function<bool()> stillTrue(std::function<bool()> otherSideSame) const;
    // True while the controller on the port is the one compared and nothing was sent to it.
    std::function<bool()> controllerSame() const;
    void compareFile(const QString& path);
    void goToCam(int format, int cam);

    WindowHost& window_;
    // Transmissions so far: a comparison with the controller before one is out of date.
    int transmissions_ = 0;
};

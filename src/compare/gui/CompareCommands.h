#pragma once

#include <QObject>

class CamProgram;
class DifferencesWindow;
class MainWindow;

// File > Compare with File..., Comm > Compare with Controller and Options > Verify after
// Transmit: each comparison opens the differences window (DIFF) on the program in memory
// (A) and the other side (B); double-clicking a difference shows that format and cam in the
// editor. The program in memory is never changed by a comparison.
class CompareCommands : public QObject {
    Q_OBJECT
public:
    explicit CompareCommands(MainWindow& window);

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
    DifferencesWindow* openDifferences(const CamProgram& other, const QString& caption);
    void goToCam(int format, int cam);

    MainWindow& window_;
};

#pragma once

#include "model/CamProgram.h"
#include "timing/ShaftTiming.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>

#include <cstdint>
#include <vector>

class FormatStepper;
class LanguageTexts;
class OutputLamps;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;
class QSpinBox;
class QTableView;
class ShaftView;
class TimingTableModel;
class UserSettings;

// TIMING: one format of the program as the machine runs it at a chosen speed. The diagram shows
// the programmed phases with, outlined over them, where each cam really switches once its
// advance is applied; the table gives every phase's and gap's time, the short ones red, and
// the highest speed that keeps them all as long as the minimum time. The virtual shaft turns a
// cursor round the diagram, slowed so the eye can follow, and lights each cam's lamp while its
// output is on. The window reads the program again whenever it comes to the front, so it shows
// what the editor changed meanwhile; it never changes the program.
class TimingWindow : public QDialog {
    Q_OBJECT
public:
    TimingWindow(const CamProgram& program, UserSettings& settings, const LanguageTexts& texts,
                 QWidget* parent = nullptr);
    ~TimingWindow() override;

    int rpm() const { return rpm_; }
    int format() const { return format_; }
    const ShaftTiming::FormatTiming& timing() const { return timing_; }
    bool playing() const { return frames_.isActive(); }
    long long angle() const { return angle_; }

    // Reads the program again (the format falls back to 1 when it no longer exists).
    void refresh();
    // Puts the shaft at angleMilli: cursor, lamps and readout.
    void showAngle(long long angleMilli);
    void play();
    void pause();

    QLineEdit* SpeedRpm;
    QSlider* SpeedSlider;
    QLineEdit* MinMs;
    QLabel* Problem;
    QLabel* LFORM;
    QLabel* LbSpin;
    FormatStepper* Picture1;
    QLabel* Params;
    ShaftView* Shaft;
    QTableView* Table;
    QLabel* MaxRpm;
    OutputLamps* Lamps;
    QPushButton* K_PLAY;
    QSpinBox* SlowDown;
    QLabel* Readout;
    QPushButton* K_EXIT;

signals:
    // A line of the table was double-clicked: the editor is to show that format and cam.
    void goToCam(int format, int cam);

protected:
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void build();
    void applyTexts();
    // Typing shows at once whether the text is a speed (or time); Enter or leaving the field
    // puts a good one in force.
    void speedTyped(const QString& text);
    void speedEntered();
    void markField(QLineEdit* field, bool good, const QString& reason, QString& problem);
    void speedSlid(int rpm);
    void setSpeed(int rpm);
    void rememberSpeed();
    void minimumTyped(const QString& text);
    void minimumEntered();
    void stepFormat(int delta);
    void stepAngle(int degrees);
    void restartClock();
    void frame();
    void showProblems();
    // True when the program differs from what the window shows.
    bool programChanged() const;

    const CamProgram& program_;
    UserSettings& settings_;
    const LanguageTexts& texts_;
    TimingTableModel* model_;

    int rpm_;
    int minTenths_ = 0;
    int format_;
    long long angle_ = 0;
    // While playing: the angle and the moment the shaft last started, speed or factor changed.
    long long anchor_ = 0;
    QElapsedTimer clock_;
    QTimer frames_;
    ShaftTiming::FormatTiming timing_;
    std::vector<uint8_t> degrees_;
    FunctionParameters shownParameters_;
    QString speedProblem_;
    QString minimumProblem_;
    QString settingsProblem_;
};

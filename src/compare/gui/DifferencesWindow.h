#pragma once

#include "compare/ProgramDiff.h"
#include "model/CamProgram.h"

#include <QDialog>

#include <functional>

class CamPairView;
class QLabel;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class LanguageTexts;

// DIFF: what differs between two programs. DiffList names every format and cam that
// differs; the selected one is drawn in Rows (A above B) and listed in PhasesA and PhasesB as
// the editor lists phases; Details holds the names and parameters that differ. The window
// keeps copies of both programs: neither is ever changed from here.
class DifferencesWindow : public QDialog {
    Q_OBJECT
public:
    DifferencesWindow(const LanguageTexts& texts, const CamProgram& a, const CamProgram& b,
                      const QString& captionA, const QString& captionB, QWidget* parent = nullptr);

    const ProgramDiff& diff() const { return diff_; }

    QLabel* Summary;
    QLabel* CaptionA;
    QLabel* CaptionB;
    QListWidget* DiffList;
    CamPairView* Rows;
    QListWidget* PhasesA;
    QListWidget* PhasesB;
    QPlainTextEdit* Details;
    QPushButton* K_EXIT;
    // Shown once the comparison is out of date.
    QPushButton* K_AGAIN;

    // Asks stillTrue every half second; once it says no (the program or the other side
    // changed), the summary starts with outOfDate and K_AGAIN (captioned again) offers to
    // compare once more.
    void watch(std::function<bool()> stillTrue, const QString& outOfDate, const QString& again);
    // The check the watch makes, at once.
    void recheck();
    bool outOfDate() const { return outOfDate_; }

signals:
    // A difference was double-clicked: the editor is to show that format and cam.
    void goToCam(int format, int cam);
    // The operator asked for the comparison again; this window closes.
    void compareAgain();

private:
    void showDifference(int row);
    QString summaryText(const LanguageTexts& texts) const;

    CamProgram a_;
    CamProgram b_;
    ProgramDiff diff_;
    std::function<bool()> stillTrue_;
    QString summary_;
    QString outOfDateText_;
    bool outOfDate_ = false;
};

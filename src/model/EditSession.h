#pragma once

#include "model/CamProgram.h"

#include <QObject>

#include <array>
#include <cstdint>
#include <deque>

// Which cam of which format the operator is editing, and the entries he may take back and
// put again. The editor, the cam commands and the format commands select and enter through
// it; the Undo and Redo entries only show what it allows. The history belongs to one cam of
// one format: choosing another cam or format, or replacing the whole program, forgets it.
class EditSession : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxSteps = 50;

    explicit EditSession(CamProgram& program);

    int format() const { return program_.CurrentFormat; }
    int cam() const { return program_.CurrentCam; }

    // Make another cam or format current. False (nothing changed) for a number out of range;
    // choosing the one already current keeps the history.
    bool selectCam(int cam);
    bool selectFormat(int format);
    // The program was replaced as a whole (New, Open, reception, a type change).
    void restart();
    // Forgets the history when cam or format were changed behind its back, so a step is never
    // written into a cam it was not taken from.
    void sync();

    // A phase entry into the current cam, exactly as typed: SetPhase with its merge and trim
    // rules, the program marked changed, and one step of history when the cam changed.
    void enterPhase(int on, int off);
    // An edge of phase from was dragged: from goes, to is entered, as one step.
    void movePhase(const Phase& from, const Phase& to);

    bool canUndo() const;
    bool canRedo() const;
    // Put the current cam back as it was before the latest step (after it, for redo).
    // False when there was nothing to take back (put again).
    bool undo();
    bool redo();

signals:
    // canUndo or canRedo may have changed.
    void historyChanged();

private:
    using CamDegrees = std::array<uint8_t, CamProgram::Degrees>;
    struct Step {
        CamDegrees before;
        CamDegrees after;
    };
    bool owned() const;
    uint8_t* currentDegrees();
    void record(const CamDegrees& before);
    void forget();
    void writeCurrentCam(const CamDegrees& states);

    CamProgram& program_;
    std::deque<Step> undo_;
    std::deque<Step> redo_;
    // The format and cam the steps were taken from.
    int ownerFormat_ = 0;
    int ownerCam_ = 0;
};

// Moves phase from of 360 degree states to to: from's degrees go off, then to is entered by
// SetPhase. False, changing nothing, when the states hold no such phase.
bool MovePhaseOn(uint8_t* degrees, const Phase& from, const Phase& to);

#pragma once

#include "model/CamProgram.h"

#include <QObject>

#include <array>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

// What an operator's step was and where it was made: the Undo and Redo entries name it, and
// taking it back or putting it again first shows that size and cam.
struct StepLabel {
    enum class Kind {
        Phase, // entered, drawn or dragged: ON and OFF in first and second
        CopyCam,
        ShiftCam,
        EraseCam,
        CopySize,
        EraseSize,
        ImportSize,
        Functions,
        CamName,
    };
    Kind kind = Kind::Phase;
    int format = 0;
    int cam = 0;
    int first = 0;
    int second = 0;
};

// Which cam of which format the operator is editing, and the history of his changes to the
// program. The editor, the cam, format and function commands select and change through it;
// the Undo and Redo entries only show what it allows. One history serves the whole program,
// whatever cam or size is shown; it restarts only where the whole program is replaced.
class EditSession : public QObject {
    Q_OBJECT
public:
    static constexpr int MaxSteps = 50;
    // The memory the history may hold: fifty steps that each replace a whole format of
    // 24 cams with its names stay below it; past it the oldest steps go first.
    static constexpr std::size_t MaxBytes = 1024 * 1024;

    explicit EditSession(CamProgram& program);

    int format() const { return program_.CurrentFormat; }
    int cam() const { return program_.CurrentCam; }

    // Make another cam or format current. False (nothing changed) for a number out of range.
    bool selectCam(int cam);
    bool selectFormat(int format);
    // The program was replaced as a whole (New, Open, reception, a type change).
    void restart();

    // A phase entry into the current cam, exactly as typed: SetPhase with its merge and trim
    // rules, the program marked changed, and one step of history when the cam changed.
    void enterPhase(int on, int off);
    // An edge of phase from was dragged: from goes, to is entered, as one step.
    void movePhase(const Phase& from, const Phase& to);

    // Any other change (cam and format commands, functions, names): take the program as it
    // stands, change it, then record what changed as one step. The step is placed where it
    // changed the program: the size of its cams, and its cam when it changed only one.
    // False, and no step, when nothing changed.
    void beginChange();
    bool endChange(const StepLabel& label);

    bool canUndo() const { return !undo_.empty(); }
    bool canRedo() const { return !redo_.empty(); }
    // The step Undo (Redo) would take back (put again); nothing when there is none.
    std::optional<StepLabel> nextUndo() const;
    std::optional<StepLabel> nextRedo() const;
    // Show the latest step's size and cam, and put the program back as it was before it
    // (after it, for redo). False when there was nothing to take back (put again).
    bool undo();
    bool redo();

    // The bytes the history holds, counted as MaxBytes counts them.
    std::size_t memoryUse() const;

signals:
    // canUndo, canRedo or the steps' names may have changed.
    void historyChanged();

private:
    using CamDegrees = std::array<uint8_t, CamProgram::Degrees>;
    struct CamChange {
        int format = 0;
        int cam = 0;
        CamDegrees before{};
        CamDegrees after{};
    };
    struct NameChange {
        int cam = 0;
        QString before;
        QString after;
    };
    struct Step {
        StepLabel label;
        std::vector<CamChange> cams;
        std::vector<NameChange> names;
        std::optional<FunctionParameters> parametersBefore;
        std::optional<FunctionParameters> parametersAfter;
        std::size_t bytes() const;
    };
    struct Mark {
        std::vector<uint8_t> degrees;
        QStringList names;
        FunctionParameters parameters;
    };
    uint8_t* currentDegrees();
    void recordCam(const CamDegrees& before, const StepLabel& label);
    void record(Step step);
    void apply(const Step& step, bool forward);
    void noteSaved();

    CamProgram& program_;
    std::deque<Step> undo_;
    std::deque<Step> redo_;
    std::optional<Mark> mark_;
    // The number of steps done when the program was last saved; -1 when no walk through the
    // history leads back there.
    int savedAt_ = -1;
    int seenSaves_ = 0;
};

// Moves phase from of 360 degree states to to: from's degrees go off, then to is entered by
// SetPhase. False, changing nothing, when the states hold no such phase.
bool MovePhaseOn(uint8_t* degrees, const Phase& from, const Phase& to);

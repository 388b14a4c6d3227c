#include "model/EditSession.h"

#include <algorithm>
#include <cstring>

EditSession::EditSession(CamProgram& program) : program_(program) {}

bool EditSession::owned() const {
    return ownerFormat_ == program_.CurrentFormat && ownerCam_ == program_.CurrentCam;
}

bool EditSession::selectCam(int cam) {
    if (!program_.IsValidCam(cam))
        return false;
    program_.CurrentCam = cam;
    sync();
    return true;
}

bool EditSession::selectFormat(int format) {
    if (!program_.IsValidFormat(format))
        return false;
    program_.CurrentFormat = format;
    sync();
    return true;
}

void EditSession::restart() {
    forget();
}

void EditSession::sync() {
    if (!owned())
        forget();
}

void EditSession::forget() {
    ownerFormat_ = program_.CurrentFormat;
    ownerCam_ = program_.CurrentCam;
    if (undo_.empty() && redo_.empty())
        return;
    undo_.clear();
    redo_.clear();
    emit historyChanged();
}

uint8_t* EditSession::currentDegrees() {
    if (!program_.IsValidFormat(program_.CurrentFormat) ||
        !program_.IsValidCam(program_.CurrentCam))
        return nullptr;
    return program_.CamDegrees(program_.CurrentFormat, program_.CurrentCam);
}

void EditSession::record(const CamDegrees& before) {
    Step step{before, {}};
    std::memcpy(step.after.data(), currentDegrees(), step.after.size());
    // An entry that changed nothing is no step: Undo must always visibly take something back.
    if (step.after == step.before)
        return;
    undo_.push_back(step);
    if (int(undo_.size()) > MaxSteps)
        undo_.pop_front();
    redo_.clear();
    emit historyChanged();
}

void EditSession::enterPhase(int on, int off) {
    sync();
    uint8_t* degrees = currentDegrees();
    if (!degrees)
        return;
    CamDegrees before{};
    std::memcpy(before.data(), degrees, before.size());
    SetPhaseOn(degrees, on, off);
    // An entry changes the program even when it re-enters what was there.
    program_.MarkChanged();
    record(before);
}

void EditSession::movePhase(const Phase& from, const Phase& to) {
    sync();
    uint8_t* degrees = currentDegrees();
    if (!degrees)
        return;
    CamDegrees before{};
    std::memcpy(before.data(), degrees, before.size());
    if (!MovePhaseOn(degrees, from, to))
        return;
    program_.MarkChanged();
    record(before);
}

bool EditSession::canUndo() const {
    return owned() && !undo_.empty();
}

bool EditSession::canRedo() const {
    return owned() && !redo_.empty();
}

void EditSession::writeCurrentCam(const CamDegrees& states) {
    uint8_t* degrees = currentDegrees();
    if (std::memcmp(degrees, states.data(), states.size()) == 0)
        return;
    std::memcpy(degrees, states.data(), states.size());
    program_.MarkChanged();
}

bool EditSession::undo() {
    sync();
    if (!canUndo())
        return false;
    // The cam goes back to what it was before the step, even when Copy, Shift or Erase Cam
    // changed it since.
    writeCurrentCam(undo_.back().before);
    redo_.push_back(undo_.back());
    undo_.pop_back();
    emit historyChanged();
    return true;
}

bool EditSession::redo() {
    sync();
    if (!canRedo())
        return false;
    writeCurrentCam(redo_.back().after);
    undo_.push_back(redo_.back());
    redo_.pop_back();
    emit historyChanged();
    return true;
}

bool MovePhaseOn(uint8_t* degrees, const Phase& from, const Phase& to) {
    // Only a phase the cam really has is moved: a stale one would erase foreign degrees.
    const std::vector<Phase> phases = ListPhasesOf(degrees);
    if (std::find(phases.begin(), phases.end(), from) == phases.end())
        return false;
    for (int d = from.On; d != from.Off; d = (d + 1) % CamProgram::Degrees)
        degrees[d] = 0;
    SetPhaseOn(degrees, to.On, to.Off);
    return true;
}

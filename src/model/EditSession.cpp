#include "model/EditSession.h"

#include <algorithm>
#include <cstring>

EditSession::EditSession(CamProgram& program)
    : program_(program), savedAt_(program.ProgramSaved ? 0 : -1), seenSaves_(program.Saves()) {}

bool EditSession::selectCam(int cam) {
    if (!program_.IsValidCam(cam))
        return false;
    program_.CurrentCam = cam;
    return true;
}

bool EditSession::selectFormat(int format) {
    if (!program_.IsValidFormat(format))
        return false;
    program_.CurrentFormat = format;
    return true;
}

void EditSession::restart() {
    mark_.reset();
    savedAt_ = program_.ProgramSaved ? 0 : -1;
    seenSaves_ = program_.Saves();
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

void EditSession::noteSaved() {
    // Called before each change and walk: a save since the last one happened here, with
    // no step between.
    if (program_.Saves() == seenSaves_)
        return;
    seenSaves_ = program_.Saves();
    savedAt_ = int(undo_.size());
}

std::size_t EditSession::Step::bytes() const {
    std::size_t n = sizeof(Step) + cams.size() * sizeof(CamChange);
    for (const NameChange& name : names)
        n += sizeof(NameChange) + std::size_t(name.before.size() + name.after.size()) * 2;
    for (const auto& p : {parametersBefore, parametersAfter})
        if (p)
            n += p->CamAdvance.size();
    return n;
}

std::size_t EditSession::memoryUse() const {
    std::size_t n = 0;
    for (const auto* steps : {&undo_, &redo_})
        for (const Step& step : *steps)
            n += step.bytes();
    return n;
}

void EditSession::record(Step step) {
    if (savedAt_ > int(undo_.size()))
        savedAt_ = -1; // the saved state was among the steps a new one drops
    undo_.push_back(std::move(step));
    redo_.clear();
    while (int(undo_.size()) > MaxSteps || (undo_.size() > 1 && memoryUse() > MaxBytes)) {
        undo_.pop_front();
        savedAt_ = savedAt_ > 0 ? savedAt_ - 1 : -1;
    }
    emit historyChanged();
}

void EditSession::recordCam(const CamDegrees& before, const StepLabel& label) {
    CamChange change{program_.CurrentFormat, program_.CurrentCam, before, {}};
    std::memcpy(change.after.data(), currentDegrees(), change.after.size());
    // An entry that changed nothing is no step: Undo must always visibly take something back.
    if (change.after == change.before)
        return;
    Step step;
    step.label = label;
    step.cams.push_back(change);
    record(std::move(step));
}

void EditSession::enterPhase(int on, int off) {
    uint8_t* degrees = currentDegrees();
    if (!degrees)
        return;
    CamDegrees before{};
    std::memcpy(before.data(), degrees, before.size());
    noteSaved();
    SetPhaseOn(degrees, on, off);
    recordCam(before,
              {StepLabel::Kind::Phase, program_.CurrentFormat, program_.CurrentCam, on, off});
    // An entry changes the program even when it re-enters what was there.
    program_.MarkChanged();
}

void EditSession::movePhase(const Phase& from, const Phase& to) {
    uint8_t* degrees = currentDegrees();
    if (!degrees)
        return;
    CamDegrees before{};
    std::memcpy(before.data(), degrees, before.size());
    noteSaved();
    if (!MovePhaseOn(degrees, from, to))
        return;
    recordCam(before,
              {StepLabel::Kind::Phase, program_.CurrentFormat, program_.CurrentCam, to.On, to.Off});
    program_.MarkChanged();
}

void EditSession::beginChange() {
    noteSaved();
    Mark mark;
    mark.degrees.reserve(std::size_t(program_.FormatCount() * program_.CamCount()) *
                         CamProgram::Degrees);
    for (int f = 1; f <= program_.FormatCount(); ++f)
        for (int c = 1; c <= program_.CamCount(); ++c) {
            const uint8_t* d = program_.CamDegrees(f, c);
            mark.degrees.insert(mark.degrees.end(), d, d + CamProgram::Degrees);
        }
    mark.names = program_.CamNames();
    mark.parameters = program_.Parameters;
    mark_ = std::move(mark);
}

bool EditSession::endChange(const StepLabel& label) {
    if (!mark_)
        return false;
    const Mark mark = std::move(*mark_);
    mark_.reset();
    // A change that reshaped the program (a type change) is no step: it restarts instead.
    if (mark.degrees.size() !=
        std::size_t(program_.FormatCount() * program_.CamCount()) * CamProgram::Degrees)
        return false;
    Step step;
    step.label = label;
    auto at = mark.degrees.begin();
    for (int f = 1; f <= program_.FormatCount(); ++f)
        for (int c = 1; c <= program_.CamCount(); ++c, at += CamProgram::Degrees) {
            const uint8_t* now = program_.CamDegrees(f, c);
            if (std::equal(at, at + CamProgram::Degrees, now))
                continue;
            CamChange change{f, c, {}, {}};
            std::copy_n(at, CamProgram::Degrees, change.before.begin());
            std::copy_n(now, CamProgram::Degrees, change.after.begin());
            step.cams.push_back(change);
        }
    for (int c = 1; c <= program_.CamCount(); ++c) {
        const QString before = mark.names.value(c - 1);
        if (before != program_.CamName(c))
            step.names.push_back({c, before, program_.CamName(c)});
    }
    const FunctionParameters& now = program_.Parameters;
    const FunctionParameters& was = mark.parameters;
    if (now.AdvanceCount != was.AdvanceCount || now.CamAdvance != was.CamAdvance ||
        now.OutputFormat != was.OutputFormat || now.EncoderShift != was.EncoderShift ||
        now.RotationSense != was.RotationSense || now.SpeedLimit != was.SpeedLimit) {
        step.parametersBefore = was;
        step.parametersAfter = now;
    }
    if (step.cams.empty() && step.names.empty() && !step.parametersBefore)
        return false;
    // Undo shows where the change landed: the size of its cams, the cam when only one.
    const bool oneFormat = !step.cams.empty() &&
                           std::all_of(step.cams.begin(), step.cams.end(), [&](const CamChange& c) {
                               return c.format == step.cams.front().format;
                           });
    if (oneFormat)
        step.label.format = step.cams.front().format;
    if (step.cams.size() == 1)
        step.label.cam = step.cams.front().cam;
    record(std::move(step));
    return true;
}

void EditSession::apply(const Step& step, bool forward) {
    if (program_.IsValidFormat(step.label.format))
        program_.CurrentFormat = step.label.format;
    if (program_.IsValidCam(step.label.cam))
        program_.CurrentCam = step.label.cam;
    for (const CamChange& c : step.cams) {
        const CamDegrees& states = forward ? c.after : c.before;
        std::memcpy(program_.CamDegrees(c.format, c.cam), states.data(), states.size());
    }
    for (const NameChange& n : step.names)
        program_.SetCamName(n.cam, forward ? n.after : n.before);
    if (step.parametersBefore)
        program_.Parameters = forward ? *step.parametersAfter : *step.parametersBefore;
}

std::optional<StepLabel> EditSession::nextUndo() const {
    if (undo_.empty())
        return std::nullopt;
    return undo_.back().label;
}

std::optional<StepLabel> EditSession::nextRedo() const {
    if (redo_.empty())
        return std::nullopt;
    return redo_.back().label;
}

bool EditSession::undo() {
    if (undo_.empty())
        return false;
    noteSaved();
    apply(undo_.back(), false);
    redo_.push_back(std::move(undo_.back()));
    undo_.pop_back();
    // Walking back to the program as it was saved needs no saving again.
    program_.ProgramSaved = int(undo_.size()) == savedAt_;
    emit historyChanged();
    return true;
}

bool EditSession::redo() {
    if (redo_.empty())
        return false;
    noteSaved();
    apply(redo_.back(), true);
    undo_.push_back(std::move(redo_.back()));
    redo_.pop_back();
    program_.ProgramSaved = int(undo_.size()) == savedAt_;
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

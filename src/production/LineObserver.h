#pragma once

#include "link/ProgressObserver.h"
#include "production/LineRun.h"

#include <optional>

// A long exchange (flash update, transfer) of one target of the line, told to its progress
// line: the phase and counters as the stage, a refusal as the cause.
class LineObserver : public ProgressObserver {
public:
    // What the counters are shown as: the lines of an image ("line 120/514") or the formats
    // of a program transfer ("format 12/28").
    enum class Counting { Lines, Formats };
    // total: the lines or formats the counters run up to.
    LineObserver(TargetContext& context, qint64 total, Counting counting = Counting::Lines)
        : context_(context), total_(total), counting_(counting) {}

    void phaseBegun(Phase phase) override;
    void counted(const Counters& counters) override;
    void done() override { done_ = true; }
    void refused(const Refusal& refusal) override;
    bool stopRequested() override { return context_.stopRequested(); }

    // How the target ended, from what the exchange said.
    TargetEnd end() const;

private:
    TargetContext& context_;
    qint64 total_;
    Counting counting_;
    Phase phase_ = Phase::Connecting;
    bool done_ = false;
    std::optional<Refusal> refusal_;
};

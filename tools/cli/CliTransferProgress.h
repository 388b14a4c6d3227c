#pragma once

#include "link/ProgressObserver.h"

struct Session;

// A transfer's progress as lines on standard error: the direction, one line per format with
// its percentage, and the refusal, worded as the transfer window shows them.
class CliTransferProgress : public ProgressObserver {
public:
    explicit CliTransferProgress(Session& session) : session_(session) {}

    void phaseBegun(Phase phase) override;
    void counted(const Counters& counters) override;
    void done() override {}
    void refused(const Refusal& refusal) override;

private:
    Session& session_;
    Phase phase_ = Phase::Connecting;
};

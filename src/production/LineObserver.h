#pragma once

#include "link/ProgressObserver.h"
#include "production/LineRun.h"

#include <optional>

class LanguageTexts;

// A long exchange (flash update, transfer) of one target of the line, told to its progress
// line: the phase and counters as the stage, a refusal as the cause. Every report goes on to
// echo as well, when there is one (a line of one shows its exchange in full).
class LineObserver : public ProgressObserver {
public:
    // What the counters are shown as: the lines of an image ("line 120/514") or the formats
    // of a program transfer ("format 12/28").
    enum class Counting { Lines, Formats };
    // total: the lines or formats the counters run up to; texts word the cause.
    LineObserver(TargetContext& context, const LanguageTexts& texts, qint64 total,
                 Counting counting = Counting::Lines, ProgressObserver* echo = nullptr)
        : context_(context), texts_(texts), total_(total), counting_(counting), echo_(echo) {}

    void phaseBegun(Phase phase) override;
    void counted(const Counters& counters) override;
    void done() override;
    void refused(const Refusal& refusal) override;
    bool stopRequested() override { return context_.stopRequested(); }
    void workingFile(const QString& path, qint64 size) override;
    void firmwareTag(const QByteArray& tag) override;
    void readyLine(bool ready) override;
    void erased() override;

    // How the target ended, from what the exchange said.
    TargetEnd end() const;

private:
    TargetContext& context_;
    const LanguageTexts& texts_;
    qint64 total_;
    Counting counting_;
    ProgressObserver* echo_;
    Phase phase_ = Phase::Connecting;
    bool done_ = false;
    std::optional<Refusal> refusal_;
};

// Why a flash update that nobody confirmed did not run: --yes answers its question.
QString NotConfirmedCause(const LanguageTexts& texts);

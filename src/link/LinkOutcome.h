#pragma once

#include "link/LinkContext.h"
#include "link/ProgressObserver.h"
#include "model/Outcome.h"

#include <QString>

// Where a line is: "COM3 /dev/ttyUSB0" for a port of the port map, the device alone when it
// was given by its path (q517-cli --device), "COM3" when the port names no device.
QString LinkPlace(const LinkContext& context);

// Keeps what a long exchange (a transfer, the flash update) did as one Outcome, taken from
// its reports as they come, and passes every report on to inner. The cause of a broken line
// is read from the link at the moment the refusal is told, not afterwards.
class OutcomeRecorder : public ProgressObserver {
public:
    enum class Exchange { Reception, Transmission, Flash };
    OutcomeRecorder(const LinkContext& context, Exchange exchange, ProgressObserver& inner);

    // Not done until done() or refused() was heard.
    const Outcome& outcome() const { return outcome_; }

    void phaseBegun(Phase phase) override;
    void counted(const Counters& counters) override;
    void done() override;
    void refused(const Refusal& refusal) override;
    void workingFile(const QString& path, qint64 size) override;
    void firmwareTag(const QByteArray& tag) override { inner_.firmwareTag(tag); }
    void readyLine(bool ready) override { inner_.readyLine(ready); }
    void erased() override;
    void waiting() override { inner_.waiting(); }
    bool stopRequested() override { return inner_.stopRequested(); }

private:
    QString stage(const Refusal& refusal) const;
    QString cause(const Refusal& refusal) const;

    LinkContext context_;
    Exchange exchange_;
    ProgressObserver& inner_;
    Outcome outcome_ = Outcome::Failure(QString(), QString(), QString(), QString());
    Phase phase_ = Phase::Connecting;
    Counters counters_;
    QString file_;
    bool erased_ = false;
};

// Shows an outcome that is neither done nor the operator's own choice in one message box:
// the old message, then where and why, then what the controller is left holding.
void ShowOutcome(const LinkContext& context, const Outcome& outcome,
                 const QString& title = QString());

#pragma once

#include "link/ProgressObserver.h"
#include "link/TransferOutcome.h"
#include "model/Outcome.h"

#include <QByteArray>
#include <QDialog>

#include <optional>

class QLabel;
class QPushButton;
class ProgressBarWidget;
struct Session;

// Logcomm: runs one program transfer as soon as it is shown ("?FR" receives, "?FW"
// transmits) and closes itself at its end. It draws the transfer's progress, shows how a
// transfer that did not complete ended (message, where and why, what the controller now
// holds) in one message, and repaints while it waits on the line; Exit stops a running
// transfer after the current frame, and closes the port.
class TransferWindow : public QDialog, private ProgressObserver {
    Q_OBJECT
public:
    TransferWindow(Session& session, QByteArray transferCommand, QWidget* parent = nullptr);
    ~TransferWindow() override;

    // How the transfer ended; NotStarted when the window closed before it began.
    TransferOutcome outcome() const { return outcome_.value_or(TransferOutcome::NotStarted); }
    bool running() const { return running_; }
    // What the transfer did, as the status bar and the message show it.
    const Outcome& result() const { return result_; }

    QLabel* LabRT;
    QLabel* LabPRG;
    ProgressBarWidget* Barra;
    QPushButton* K_EXIT;

protected:
    void showEvent(QShowEvent* event) override;
    void reject() override;

private:
    void run();
    void exitPressed();

    void phaseBegun(Phase phase) override;
    void counted(const Counters& counters) override;
    void done() override {}
    void refused(const Refusal&) override {}
    void waiting() override;
    bool stopRequested() override { return stopRequested_; }

    Session& session_;
    QByteArray command_;
    std::optional<TransferOutcome> outcome_;
    Outcome result_ = Outcome::Refusal(QString());
    bool started_ = false;
    bool running_ = false;
    bool stopRequested_ = false;
    Phase phase_ = Phase::Connecting;
};

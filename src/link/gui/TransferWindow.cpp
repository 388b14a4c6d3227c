#include "link/gui/TransferWindow.h"

#include "dialogs/Prompts.h"
#include "link/Identification.h"
#include "link/LineProtocol.h"
#include "link/LinkContext.h"
#include "link/LinkOutcome.h"
#include "link/ProgramReception.h"
#include "link/ProgramTransmission.h"
#include "link/gui/DrawProgress.h"
#include "model/NumberForms.h"
#include "shell/Session.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

TransferWindow::TransferWindow(Session& session, QByteArray transferCommand, QWidget* parent)
    : QDialog(parent), session_(session), command_(std::move(transferCommand)) {
    setObjectName(QStringLiteral("Logcomm"));
    setModal(true);
    setWindowTitle(session_.Text(45));

    LabRT = new QLabel(session_.Text(251), this);
    LabRT->setObjectName(QStringLiteral("LabRT"));
    LabPRG = new QLabel(session_.Text(252), this);
    LabPRG->setObjectName(QStringLiteral("LabPRG"));
    Barra = new ProgressBarWidget(this);
    Barra->setObjectName(QStringLiteral("Barra"));
    Barra->setMinimumWidth(320);
    K_EXIT = new QPushButton(session_.Text(253), this);
    K_EXIT->setObjectName(QStringLiteral("K_EXIT"));
    K_EXIT->setAutoDefault(false);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabRT);
    layout->addWidget(LabPRG);
    layout->addWidget(Barra);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(K_EXIT);
    layout->addLayout(buttons);

    connect(K_EXIT, &QPushButton::clicked, this, &TransferWindow::exitPressed);
}

TransferWindow::~TransferWindow() = default;

void TransferWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (started_)
        return;
    started_ = true;
    const QString identification = ParseIdentReply(session_.link.state.IdentReply).identification;
    setWindowTitle(session_.Text(120) + QLatin1Char(' ') + identification);
    // The transfer runs once the window is on the screen, from its own event loop.
    QTimer::singleShot(0, this, &TransferWindow::run);
}

void TransferWindow::phaseBegun(Phase phase) {
    phase_ = phase;
    const int cams = session_.program.CamCount();
    if (phase == Phase::Receiving)
        LabRT->setText(session_.Text(46) + QString::number(cams));
    else if (phase == Phase::Transmitting)
        LabRT->setText(session_.Text(47) + NumberForms::Standard(cams));
}

void TransferWindow::counted(const Counters& counters) {
    LabPRG->setText(phase_ == Phase::Receiving
                        ? session_.Text(48) + FormatHeaderText(counters.format)
                        : session_.Text(52) + NumberForms::Standard(counters.format));
    DrawProgress(*Barra, counters.percent);
    repaint();
}

void TransferWindow::waiting() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

void TransferWindow::run() {
    if (stopRequested_ || outcome_) {
        QDialog::done(Rejected);
        return;
    }
    running_ = true;
    const LinkContext context = session_.linkContext();
    const bool transmit = command_ == "?FW";
    OutcomeRecorder recorder(context,
                             transmit ? OutcomeRecorder::Exchange::Transmission
                                      : OutcomeRecorder::Exchange::Reception,
                             *this);
    outcome_ = transmit ? RunTransmission(context, session_.program, recorder)
                        : RunReception(context, session_.program, recorder);
    result_ = recorder.outcome();
    running_ = false;
    ShowOutcome(context, result_);
    CloseSerialPort(session_.link);
    QDialog::done(outcome_ == TransferOutcome::Completed ? Accepted : Rejected);
}

void TransferWindow::exitPressed() {
    if (running_) {
        // A reception stopped leaves the file untouched; a transmission stopped leaves the
        // controller with part of a program, so that one is asked first (the line waits
        // while the question is open).
        if (command_ == "?FW" &&
            session_.prompts.message(session_.Text(254), windowTitle(),
                                     Prompts::Buttons::YesNoDefaultNo,
                                     Prompts::Icon::Warning) != Prompts::Answer::Yes)
            return;
        // A reception ends its wait at once, whatever the line sends; a transmission after
        // the frame on its way. The transfer then closes the port.
        stopRequested_ = true;
        K_EXIT->setEnabled(false);
        return;
    }
    CloseSerialPort(session_.link);
    stopRequested_ = true;
    QDialog::reject();
}

void TransferWindow::reject() {
    // Escape and the window's close box act as Exit.
    exitPressed();
}

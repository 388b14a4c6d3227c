#pragma once

#include <QByteArray>
#include <QString>

#include <cstdint>

class LanguageTexts;

// Why a long exchange with the controller ended without completing. The cause is what the
// renderers decide on; text() is the wording the operator has always read for it, in the
// language of the texts given.
struct Refusal {
    enum class Cause {
        FileUnusable,   // image unreadable, empty, or a line that is no record
        ParityError,    // number: the line whose checksum does not match
        WrongPort,      // number: the port that does not exist
        PortFailed,     // the port would not open; detail: the device and the OS cause
        Declined,       // the operator answered No or Cancel
        TimedOut,       // the controller fell silent
        LineUnanswered, // a record got neither ACK nor NAK in time (or NAK for ever)
        LineLost,       // hang-up, vanished device or read error; detail: the OS cause
        BadComm,        // the controller's stream broke the protocol
        Stopped,        // the operator pressed Exit
        FileFailed,     // the transfer file could not be written; detail: the file and the cause
    };
    Cause cause = Cause::FileUnusable;
    qint64 number = 0;
    QString detail;
    // The port the exchange used, named by a time-out of the flash update (0 = a device).
    int port = 0;

    QString text(const LanguageTexts& texts) const;
    // Nothing needs to stay on screen: the operator ended it and knows why.
    bool operatorChose() const { return cause == Cause::Declined || cause == Cause::Stopped; }
};

// How a long exchange with the controller stands (the flash update, a program transfer),
// told by meaning: the windows and q517-cli each render it their own way.
class ProgressObserver {
public:
    enum class Phase {
        Checking,     // the image is read and checked; nothing goes over the line
        Connecting,   // the port is open; the ready line and the controller's answers awaited
        Erasing,      // the controller erases its flash
        Transmitting, // lines or frames go to the controller
        Receiving,    // frames come from the controller
    };
    struct Counters {
        qint64 line = 0;        // lines, records or frames done in this phase
        qint64 bytes = 0;       // data bytes in them
        qint64 address = -1;    // load offset of the last record; -1 when none
        int percent = -1;       // 0-100 of the phase; -1 when not known
        int format = 0;         // the format on its way, from 1; 0 when none
        int64_t elapsedMs = -1; // since the phase began; -1 when not timed
    };

    virtual ~ProgressObserver() = default;

    virtual void phaseBegun(Phase phase) = 0;
    // The counters moved; producers keep this to about a hundred times a run.
    virtual void counted(const Counters& counters) = 0;
    // Everything went (or came) and the controller confirmed it.
    virtual void done() = 0;
    virtual void refused(const Refusal& refusal) = 0;

    // Facts only some runs have.
    virtual void workingFile(const QString& /*path*/, qint64 /*size*/) {}
    // The bytes of the image's version records, in file order.
    virtual void firmwareTag(const QByteArray& /*tag*/) {}
    // The controller's ready line (CTS).
    virtual void readyLine(bool /*ready*/) {}
    // The controller confirmed the erase of its flash.
    virtual void erased() {}

    // Called between short slices of every wait on the line: a window lets events run.
    virtual void waiting() {}
    // Asked between frames: true once the operator asked to stop.
    virtual bool stopRequested() { return false; }
};

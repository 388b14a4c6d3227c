#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>

class SimPty;

// How the simulated controller is set up: its type, its processor name and the faults
// switched on (each "--fault NAME" or "--fault NAME=VALUE").
struct SimConfig {
    int camCount = 24;
    int formatCount = 28;
    QString cpu = QStringLiteral("SIM_C517");
    int baud = 9600;
    QStringList faults;
    bool verbose = false;
    // The link's name in the log when one simulator serves several ("COM3: ...").
    QString name;

    bool fault(const QString& name) const;
    // The value of "NAME=VALUE", or nothing when that fault is not on.
    std::optional<QString> faultValue(const QString& name) const;
};

// The controller's side of the line: reads what the program sends, recognises command
// lines ("?M8C" CR) and transfer commands ("?FR" + check CR), and hands each to the handler
// registered for it. A handler runs the whole conversation it starts (a transfer reads
// frames through the helpers here) and returns when it is over. Command lines with a wrong
// checksum, unknown commands and frames outside a conversation get no answer.
class SimController {
public:
    using CommandHandler = std::function<void(SimController& controller)>;

    SimController(SimPty& pty, SimConfig config, volatile std::sig_atomic_t& stop);

    const SimConfig& config() const { return config_; }
    SimConfig& config() { return config_; }

    // "?M", "?T", ":FU": the command text followed by its hexadecimal checksum and CR.
    void onCommandLine(const QByteArray& command, CommandHandler handler);
    // "?FR", "?FW": the command text followed by one check character and CR.
    void onTransferCommand(const QByteArray& command, CommandHandler handler);
    // A mode that takes over the line (the flash records after ":FU") reads its bytes itself
    // inside its handler and returns to command lines when it is done.

    // Serves until SIGINT or SIGTERM.
    void serve();
    bool stopRequested() const { return stop_ != 0; }

    // The line, for handlers. Reads return nothing on time-out or when asked to stop.
    std::optional<uint8_t> readByte(int timeoutMs);
    // Sends bytes as they are; with --fault slow in pieces with pauses under 3000 ms.
    void send(const QByteArray& bytes);
    void sendLine(const QByteArray& text); // text + CR
    void discardInput();
    // --fault hangup-after=N: the line goes dead, as when the controller is switched off.
    void hangUp(const QString& when);
    // A frame as it came from the program (STX text ETX check), put together by the
    // program's own FrameAssembler.
    struct Frame {
        QByteArray raw;
        QByteArray text; // when checkOk
        bool checkOk = false;
        std::chrono::steady_clock::time_point start; // when its STX arrived
    };
    // The next frame; bytes before its STX are skipped. Nothing after timeoutMs of silence,
    // or when the stream goes on too long to be a frame. stxRead: its STX was read already.
    std::optional<Frame> readFrame(int timeoutMs, bool stxRead = false);
    // The speed the controller now listens at (a pseudo-terminal carries any).
    void setBaud(int baud) { config_.baud = baud; }

    // A line on standard error, prefixed "q517-sim: ".
    void log(const QString& text) const;
    void trace(const QString& text) const; // only with --verbose

    // "?M8C" for a command line, "?FR\xD7" shown readably, for the log.
    static QString printable(const QByteArray& bytes);

private:
    void dispatchLine(const QByteArray& line);

    SimPty& pty_;
    SimConfig config_;
    volatile std::sig_atomic_t& stop_;
    std::map<QByteArray, CommandHandler> lineHandlers_; // key: the whole line sent, CR excluded
    std::map<QByteArray, QByteArray> lineNames_;
};

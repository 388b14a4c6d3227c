#pragma once

#include "link/SerialLine.h"
#include "support/FakeClock.h"

#include <QByteArray>
#include <QList>
#include <QString>

#include <deque>
#include <functional>

// The controller's side of the line, played byte for byte inside the test process. Replies
// are scripted as rules ("when these bytes arrive, answer those"), or by a callback that
// sees everything received; each reply can come late, cut in pieces with pauses, or not at
// all. Time is the FakeClock's: a read with nothing due moves the clock by its whole wait,
// so a 3000 ms silence costs nothing.
class FakeController : public SerialLine {
public:
    // One scripted answer.
    struct Reply {
        QByteArray bytes;
        int64_t delayMs = 0; // before the first byte
        int pieces = 1;      // cut into this many pieces...
        int64_t pauseMs = 0; // ...with this pause between them
    };
    // Any bytes, all due at once after delayMs.
    static Reply bytes(const QByteArray& b, int64_t delayMs = 0) { return Reply{b, delayMs, 1, 0}; }
    static Reply inPieces(const QByteArray& b, int pieces, int64_t pauseMs) {
        return Reply{b, 0, pieces, pauseMs};
    }
    static Reply ack() { return bytes(QByteArray(1, '\x06')); }
    static Reply nak() { return bytes(QByteArray(1, '\x15')); }
    static Reply silence() { return Reply{}; }

    explicit FakeController(FakeClock& clock) : clock_(clock) {}

    // When trigger has been received (since the last matched trigger), the reply is queued.
    // The rule answers times times (-1: always); the first live rule that matches wins, so a
    // rule for one time placed before a lasting one scripts "fails first, then works".
    FakeController& when(const QByteArray& trigger, const Reply& reply, int times = -1);
    // The same for every complete frame (STX ... ETX check) that arrives.
    FakeController& whenFrame(const Reply& reply, int times = -1);
    // Sees every write (the bytes of that write) and may queue replies itself.
    using Handler = std::function<void(const QByteArray& written, FakeController& controller)>;
    FakeController& onWrite(Handler handler);

    // Bytes the controller sends, due after delayMs (from now).
    void queue(const Reply& reply);
    void queue(const QByteArray& b, int64_t delayMs = 0) { queue(bytes(b, delayMs)); }

    // Line behaviour.
    void setCts(bool on) { cts_ = on; }
    // Only device fails to open when given; every device otherwise.
    void failOpen(const QString& why, Opened how = Opened::Failed, const QString& device = {}) {
        openError_ = why;
        openFailure_ = how;
        failingDevice_ = device;
    }
    // The other end hangs up once the bytes queued so far have been read.
    void hangUp(const QString& cause) { hangUpAt(0, cause); }
    // The same, but not before the clock reaches atMs: the line breaks in the middle of a wait.
    void hangUpAt(int64_t atMs, const QString& cause) {
        hangUpCause_ = cause;
        hangUpAtMs_ = atMs;
    }
    void refuseBaud(bool refuse) { refuseBaud_ = refuse; }

    // What arrived from the program, in order, and how.
    const QByteArray& received() const { return received_; }
    const QList<QByteArray>& writes() const { return writes_; }
    int receivedCount(const QByteArray& what) const { return int(received_.count(what)); }
    QString openedDevice() const { return device_; }
    int opens() const { return opens_; }
    int closes() const { return closes_; }
    int baudRate() const { return baud_; }
    bool hardwareFlowControl() const { return flow_; }
    int outputDiscards() const { return discards_; }
    // Bytes queued but not yet read by the program.
    int pendingBytes() const { return int(incoming_.size()); }
    void clearReceived() {
        received_.clear();
        writes_.clear();
    }

    Opened open(const QString& device, QString* errorText) override;
    void close() override;
    bool isOpen() const override { return open_; }
    bool setBaudRate(int baud) override;
    void setHardwareFlowControl(bool on) override { flow_ = on; }
    bool ctsAsserted() const override { return open_ && cts_; }
    int bytesWaiting() override;
    std::optional<uint8_t> readByte(int timeoutMs) override;
    QString brokenCause() const override {
        return incoming_.empty() && clock_.nowMs() >= hangUpAtMs_ ? hangUpCause_ : QString();
    }
    bool write(const QByteArray& bytes) override;
    bool flush(int) override { return open_; }
    void clearInput() override;
    void discardOutput() override { ++discards_; }

private:
    struct Rule {
        QByteArray trigger; // empty with frame set: any frame
        bool frame = false;
        Reply reply;
        int times = -1;
    };
    struct Timed {
        int64_t at;
        uint8_t byte;
    };
    void matchRules();

    FakeClock& clock_;
    QList<Rule> rules_;
    QList<Handler> handlers_;
    std::deque<Timed> incoming_;
    QByteArray unmatched_;
    QByteArray received_;
    QList<QByteArray> writes_;
    QString device_;
    QString openError_;
    QString failingDevice_;
    Opened openFailure_ = Opened::Failed;
    QString hangUpCause_;
    int64_t hangUpAtMs_ = 0;
    bool open_ = false;
    bool cts_ = true;
    bool refuseBaud_ = false;
    bool flow_ = false;
    int baud_ = 0;
    int opens_ = 0;
    int closes_ = 0;
    int discards_ = 0;
};

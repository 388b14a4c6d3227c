// Any bytes from the line while a frame is awaited: the frame ends (by ETX, by silence or
// by its length limit), is never longer than the limit, and the reader never hangs.
#include "FuzzSupport.h"
#include "dialogs/CommonDialog.h"
#include "link/Clock.h"
#include "link/LineProtocol.h"
#include "link/SerialLine.h"
#include "shell/Session.h"

namespace {
// The bytes of the input, then silence; a wait on silence moves the clock to its deadline.
class ScriptedLine : public SerialLine {
public:
    ScriptedLine(const QByteArray& bytes, StillClock& clock) : bytes_(bytes), clock_(clock) {}
    Opened open(const QString&, QString*) override { return Opened::Yes; }
    void close() override {}
    bool isOpen() const override { return true; }
    bool setBaudRate(int) override { return true; }
    void setHardwareFlowControl(bool) override {}
    bool ctsAsserted() const override { return true; }
    int bytesWaiting() override { return int(bytes_.size() - next_); }
    std::optional<uint8_t> readByte(int timeoutMs) override {
        if (next_ < bytes_.size())
            return static_cast<uint8_t>(bytes_[next_++]);
        clock_.now += timeoutMs > 0 ? timeoutMs : 1;
        return std::nullopt;
    }
    QString brokenCause() const override { return QString(); }
    bool write(const QByteArray& bytes) override {
        written += bytes.size();
        return true;
    }
    bool flush(int) override { return true; }
    void clearInput() override { next_ = bytes_.size(); }
    void discardOutput() override {}
    qsizetype written = 0;

private:
    QByteArray bytes_;
    qsizetype next_ = 0;
    StillClock& clock_;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EnsureFuzzApp();
    StillClock clock;
    ScriptedLine line(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)), clock);
    SilentPrompts prompts;
    NoDialogs backend;
    CommonDialog dialog(backend);
    Session session(prompts, clock, dialog, line, FuzzDir());
    // Read frames until the line falls silent, as a reception does.
    for (int frames = 0; frames < 100000; ++frames) {
        const ReceivedFrame frame = ReceiveFrame(session.link, {});
        if (frame.bytes.size() > 4097)
            std::abort();
        if (frame.kind == ReceivedFrame::Silent)
            return 0;
    }
    std::abort(); // more frames than bytes: the reader made something of nothing
}

#pragma once

#include "link/LinkContext.h"
#include "link/ProgressObserver.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <optional>

// Timing of the update exchange with the controller.
namespace FlashTiming {
// The chip erase must start answering within this long...
constexpr int EraseFirstMs = 5000;
// ...and every character it sends (progress) gives it this much more.
constexpr int EraseRenewMs = 2000;
// ...but however busy it keeps the line, the erase is over within this long.
constexpr int EraseTotalMs = 60000;
// Each record line must be answered within this long of being sent.
constexpr int LineAnswerMs = 5000;
// A controller that never switches its speed must not hold the window for ever.
constexpr int EnqWaitMs = 10000;
// One record is sent at most this often: a controller that refuses it for ever ends the update.
constexpr int MaxLineSendings = 10;
constexpr int FlashBaud = 9600;
constexpr int FastBaud = 38400;
} // namespace FlashTiming

// The second pass of the update window: with the image checked, put the controller into
// its update mode, wait for the chip erase and send the image line by line, each line
// acknowledged. How it goes and how it ends is told to the observer.
class FlashUpdate {
public:
    FlashUpdate(const LinkContext& context, ProgressObserver& observer, QString hexFilePath,
                qint64 imageLineCount);

    // Answers "UPDATE FLASH ?" itself (q517-cli --yes).
    void setConfirmed(bool confirmed) { confirmed_ = confirmed; }

    // True once the controller acknowledged the image's last line (the observer heard done()).
    bool Run();

    // The refresh interval of the counters: a hundredth of the lines, halves to even,
    // at least every line.
    static qint64 RefreshInterval(qint64 imageLineCount);
    // "hh:nn:ss" of a duration, as the elapsed time of an update is shown.
    static QString ElapsedText(int64_t ms);

private:
    bool openPort();
    bool CheckDeviceReady();
    bool confirm();
    bool waitUntilReady();
    bool enterUpdateMode();
    bool waitForErase();
    bool sendImage();
    bool sendLine(const QByteArray& line);
    void count(const QByteArray& line, int percent);
    bool refuse(Refusal::Cause cause, qint64 number = 0, const QString& detail = QString());
    // The port number of the line, named in a time-out; 0 on a device given by its path.
    int usedPort() const;
    // One byte from the controller before the deadline; nothing once it passed.
    std::optional<uint8_t> readBefore(int64_t deadline);

    LinkContext context_;
    ProgressObserver& observer_;
    QString path_;
    qint64 imageLineCount_;
    bool confirmed_ = false;

    qint64 lineNumber_ = 0;
    qint64 byteTotal_ = 0;
    int64_t startMs_ = 0;
};

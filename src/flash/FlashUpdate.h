#pragma once

#include "flash/FlashView.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>

struct Session;

// Timing of the update exchange with the controller.
namespace FlashTiming {
// The chip erase must start answering within this long...
constexpr int EraseFirstMs = 5000;
// ...and every character it sends (progress) gives it this much more.
constexpr int EraseRenewMs = 2000;
// Each record line must be answered within this long of being sent.
constexpr int LineAnswerMs = 5000;
// A controller that never switches its speed must not hold the window for ever.
constexpr int EnqWaitMs = 10000;
// One record is sent at most this often: a controller that refuses it for ever ends the update.
constexpr int MaxLineSendings = 10;
// The result stays on screen this long before the window closes.
constexpr int ResultShownMs = 3000;
constexpr int FlashBaud = 9600;
constexpr int FastBaud = 38400;
} // namespace FlashTiming

// The second pass of the update window: with the image checked, put the controller into
// its update mode, wait for the chip erase and send the image line by line, each line
// acknowledged. Progress goes to the window through the view.
class FlashUpdate {
public:
    enum class Outcome {
        Updated,   // the controller acknowledged the last line
        Abandoned, // ended with the port closed; the window closes
        WrongPort, // nothing touched; the window stays open
    };

    FlashUpdate(Session& session, FlashView& view, QString hexFilePath, qint64 imageLineCount);

    // Whether the port of a number exists; the machine's ports unless a test says otherwise.
    void setPortCheck(std::function<bool(int port)> check) { portExists_ = std::move(check); }
    // Answers "UPDATE FLASH ?" itself (q517-cli --yes).
    void setConfirmed(bool confirmed) { confirmed_ = confirmed; }

    Outcome Run();

    // The refresh interval of the counters: a hundredth of the lines, halves to even,
    // at least every line.
    static qint64 RefreshInterval(qint64 imageLineCount);
    // "hh:nn:ss" of a duration.
    static QString ElapsedText(int64_t ms);

private:
    bool portFound();
    bool openPort();
    bool CheckDeviceReady();
    bool confirm();
    bool waitUntilReady();
    bool enterUpdateMode();
    bool waitForErase();
    bool sendImage();
    bool sendLine(const QByteArray& line);
    void showTransmitted(const QByteArray& line);
    Outcome abandon(const QString& message);
    // One byte from the controller before the deadline; nothing once it passed.
    std::optional<uint8_t> readBefore(int64_t deadline);

    Session& session_;
    FlashView& view_;
    QString path_;
    qint64 imageLineCount_;
    std::function<bool(int)> portExists_;
    bool confirmed_ = false;
    bool ready_ = false;

    qint64 lineNumber_ = 0;
    qint64 byteTotal_ = 0;
    int64_t startMs_ = 0;
    QString elapsedShown_;
    qint64 refresh_ = 1;
    int percent_ = -1;
};

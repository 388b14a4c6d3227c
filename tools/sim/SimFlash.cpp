// The controller's loader: after ":FU" it erases its flash, showing progress, and then takes
// the image one record line at a time, answering each with ACK or NAK.
#include "SimController.h"
#include "SimLinePacer.h"
#include "SimModule.h"

#include "flash/HexRecord.h"
#include "link/LineAssembler.h"
#include "link/LineCodec.h"

#include <QSaveFile>

#include <chrono>
#include <memory>
#include <thread>

namespace {

using LineCodec::Ack;
using LineCodec::Enq;
using LineCodec::Nak;
// A progress character this often while the chip erases (the programmer waits 2000 ms).
constexpr int ProgressEveryMs = 300;
// The programmer has given up when it stays silent this long between records.
constexpr int RecordSilenceMs = 15000;
constexpr int FastBaud = 38400;

struct LoaderSettings {
    int eraseMs = 1500;
    QString flashOut;
    bool nakFirst = false;
    bool nakAlways = false;
    int silentAfter = -1; // records acknowledged before the loader stops answering
    int hangupAfter = -1; // records acknowledged before the line goes dead
    bool pace = false;    // answer only after the time the bytes take on a real line
};

void Sleep(int ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

// Keeps the records taken, as lines with CR LF, in the file given.
bool KeepImage(SimController& c, const QString& path, const QList<QByteArray>& records) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        c.log(QStringLiteral("cannot write ") + path + QStringLiteral(": ") + file.errorString());
        return false;
    }
    for (const QByteArray& record : records)
        file.write(record + "\r\n");
    if (!file.commit()) {
        c.log(QStringLiteral("cannot write ") + path + QStringLiteral(": ") + file.errorString());
        return false;
    }
    return true;
}

// One record line up to CR; nothing when the programmer fell silent. A stream too long to be
// a record comes back empty, once its CR arrives, to be refused like any malformed record.
std::optional<QByteArray> ReadRecord(SimController& c) {
    LineAssembler record;
    bool tooLong = false;
    for (;;) {
        const std::optional<uint8_t> b = c.readByte(RecordSilenceMs);
        if (!b)
            return std::nullopt;
        switch (record.feed(*b)) {
        case LineAssembler::Result::More:
            break;
        case LineAssembler::Result::TooLong:
            tooLong = true;
            break;
        case LineAssembler::Result::Line:
            return tooLong ? QByteArray() : record.line().chopped(1);
        }
    }
}

void RunUpdate(SimController& c, const LoaderSettings& settings) {
    c.log(QStringLiteral("flash update: erasing"));
    if (c.config().cpu == QLatin1String("AVR_M1280")) {
        c.send(QByteArray(1, Enq));
        c.setBaud(FastBaud);
    }
    for (int elapsed = 0; elapsed < settings.eraseMs && !c.stopRequested();) {
        const int step = std::min(ProgressEveryMs, settings.eraseMs - elapsed);
        Sleep(step);
        elapsed += step;
        if (elapsed < settings.eraseMs)
            c.send(QByteArray(1, '.'));
    }
    c.send(QByteArray(1, Ack));
    c.log(QStringLiteral("flash update: chip erased"));

    // Each record, its CR and the answer cross the line at the speed now in force.
    SimLinePacer pacer(settings.pace, c.config().baud);
    QList<QByteArray> taken;
    bool nakPending = settings.nakFirst;
    bool ended = false;
    while (!ended && !c.stopRequested()) {
        const std::optional<QByteArray> record = ReadRecord(c);
        if (!record) {
            c.log(QStringLiteral("flash update: the programmer stopped sending"));
            break;
        }
        // The line dies with the next record unanswered: the programmer's wait is for it.
        if (settings.hangupAfter >= 0 && taken.size() >= settings.hangupAfter) {
            c.hangUp(QStringLiteral("after %1 records").arg(taken.size()));
            break;
        }
        if (settings.silentAfter >= 0 && taken.size() >= settings.silentAfter) {
            c.trace(QStringLiteral("silent: ") + QString::fromLatin1(*record));
            continue;
        }
        pacer.pass(int(record->size()) + 2);
        const bool sound = HexRecord::IsWellFormed(*record) && HexRecord::ChecksumMatches(*record);
        if (!sound || nakPending || settings.nakAlways) {
            nakPending = false;
            c.trace(QStringLiteral("NAK: ") + QString::fromLatin1(*record));
            c.send(QByteArray(1, Nak));
            continue;
        }
        taken.append(*record);
        c.send(QByteArray(1, Ack));
        // The end-of-file record closes the update; the loader then starts the new firmware.
        ended = record->mid(7, 2) == "01";
    }
    c.log(QStringLiteral("flash update: %1 records taken%2")
              .arg(taken.size())
              .arg(ended ? QStringLiteral(", image complete") : QString()));
    if (!settings.flashOut.isEmpty() && KeepImage(c, settings.flashOut, taken))
        c.log(QStringLiteral("flash image kept in ") + settings.flashOut);
}

const SimModuleRegistration registration(SimModule{
    QStringLiteral("flash"),
    {QCommandLineOption(QStringLiteral("erase-ms"),
                        QStringLiteral("How long the chip erase of a flash update takes "
                                       "(default 1500)."),
                        QStringLiteral("MS")),
     QCommandLineOption(QStringLiteral("flash-out"),
                        QStringLiteral("Keep the image received by a flash update in FILE."),
                        QStringLiteral("FILE"))},
    // --pace is declared once, by the program transfers, and read here as well.
    {QStringLiteral("nak-first"), QStringLiteral("nak-always"), QStringLiteral("silent-after"),
     QStringLiteral("hangup-after")},
    [](const QCommandLineParser& args, SimController& controller, QString* error) {
        auto settings = std::make_shared<LoaderSettings>();
        if (args.isSet(QStringLiteral("erase-ms"))) {
            bool ok = false;
            settings->eraseMs = args.value(QStringLiteral("erase-ms")).toInt(&ok);
            if (!ok || settings->eraseMs < 0 || settings->eraseMs > 600000) {
                *error = QStringLiteral("--erase-ms must be 0 to 600000");
                return false;
            }
        }
        settings->flashOut = args.value(QStringLiteral("flash-out"));
        settings->pace = args.isSet(QStringLiteral("pace"));
        const SimConfig& config = controller.config();
        settings->nakFirst = config.fault(QStringLiteral("nak-first"));
        settings->nakAlways = config.fault(QStringLiteral("nak-always"));
        for (const auto& [fault, records] :
             {std::pair{QStringLiteral("silent-after"), &settings->silentAfter},
              std::pair{QStringLiteral("hangup-after"), &settings->hangupAfter}}) {
            if (const std::optional<QString> n = config.faultValue(fault)) {
                bool ok = false;
                *records = n->toInt(&ok);
                if (!ok || *records < 0) {
                    *error =
                        QStringLiteral("--fault %1=N needs a number N of 0 or more").arg(fault);
                    return false;
                }
            }
        }
        controller.onCommandLine(":FU", [settings](SimController& c) { RunUpdate(c, *settings); });
        return true;
    }});

} // namespace

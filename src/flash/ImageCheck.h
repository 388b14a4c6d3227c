#pragma once

#include "link/ProgressObserver.h"

#include <QByteArray>
#include <QString>

#include <functional>

// The check of a firmware image before anything is sent: every line must be a record with
// the right checksum; lines and data bytes are counted and the version tag is collected.
struct ImageCheckResult {
    enum class Outcome { Passed, Unusable, ParityError };
    Outcome outcome = Outcome::Passed;
    // Lines counted; on a parity error the number of the bad line.
    qint64 lines = 0;
    qint64 bytes = 0;
    // The characters of the version records, in file order (only the first ones are kept).
    QByteArray tag;
    // Why the file could not be read, when it could not.
    QString reason;

    bool passed() const { return outcome == Outcome::Passed; }
    // Why the image is refused, when it is.
    Refusal refusal(const LanguageTexts& texts) const;
    // "FILE UNUSABLE" or "PARITY ERROR IN LINE n"; empty when the check passed.
    QString failureText(const LanguageTexts& texts) const;
};

// Called with the counters at every tenth line and once more with the final values.
using ImageCheckCounters = std::function<void(qint64 line, qint64 bytes)>;

// Checks the image at path. A file without any line is unusable: erasing the controller's
// flash and sending nothing would leave it without firmware.
ImageCheckResult CheckImage(const QString& path, const ImageCheckCounters& onCounters = {});

// The "####00" form of the counters: at least two digits.
QString CounterText(qint64 value);

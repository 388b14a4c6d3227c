#include "flash/ImageCheck.h"

#include "flash/FirmwareTag.h"
#include "flash/HexLineReader.h"
#include "flash/HexRecord.h"
#include "model/FileAccess.h"

Refusal ImageCheckResult::refusal(const LanguageTexts& texts) const {
    Refusal refusal;
    refusal.cause = outcome == Outcome::ParityError ? Refusal::Cause::ParityError
                                                    : Refusal::Cause::FileUnusable;
    refusal.number = lines;
    refusal.detail = FileAccess::LocalCause(reason, texts);
    return refusal;
}

QString ImageCheckResult::failureText(const LanguageTexts& texts) const {
    return passed() ? QString() : refusal(texts).text(texts);
}

ImageCheckResult CheckImage(const QString& path, const ImageCheckCounters& onCounters) {
    ImageCheckResult result;
    HexLineReader reader;
    if (!reader.open(path, &result.reason)) {
        result.outcome = ImageCheckResult::Outcome::Unusable;
        return result;
    }
    QByteArray line;
    while (reader.next(line)) {
        if (!HexRecord::StartsRecord(line)) {
            result.outcome = ImageCheckResult::Outcome::Unusable;
            return result;
        }
        ++result.lines;
        if (!HexRecord::IsWellFormed(line) || !HexRecord::ChecksumMatches(line)) {
            result.outcome = ImageCheckResult::Outcome::ParityError;
            return result;
        }
        result.bytes += HexRecord::DataByteCount(line);
        if (HexRecord::IsVersionRecord(line) && result.tag.size() < FirmwareTag::ShownLength)
            result.tag += HexRecord::DataBytes(line);
        if (result.lines % 10 == 0 && onCounters)
            onCounters(result.lines, result.bytes);
    }
    if (reader.failed()) {
        result.outcome = ImageCheckResult::Outcome::Unusable;
        result.reason = QStringLiteral("read error");
        return result;
    }
    if (result.lines == 0) {
        result.outcome = ImageCheckResult::Outcome::Unusable;
        return result;
    }
    if (onCounters)
        onCounters(result.lines, result.bytes);
    return result;
}

QString CounterText(qint64 value) {
    return QString::number(value).rightJustified(2, QLatin1Char('0'));
}

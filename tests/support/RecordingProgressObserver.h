#pragma once

#include "link/ProgressObserver.h"
#include "support/EnglishTexts.h"

#include <QList>
#include <QPair>
#include <QStringList>

// Every report as one short line, in order, so a test compares the sequence of a run:
// "phase Erasing", "counted line=10 bytes=160 addr=0x90 pct=50", "erased", "done",
// "refused TIMEOUT SERIAL PORT 7". Fields left at their "none" value are not written; the
// elapsed times (which depend on the fake line's pace) are kept apart in elapsed.
class RecordingProgressObserver : public ProgressObserver {
public:
    static QString phaseName(Phase phase) {
        static const char* const names[] = {"Checking", "Connecting", "Erasing", "Transmitting",
                                            "Receiving"};
        return QString::fromLatin1(names[int(phase)]);
    }
    void phaseBegun(Phase p) override {
        phase = p;
        events.append("phase " + phaseName(p));
    }
    void counted(const Counters& c) override {
        QString e = QStringLiteral("counted line=%1 bytes=%2").arg(c.line).arg(c.bytes);
        if (c.address >= 0)
            e += QStringLiteral(" addr=0x") + QString::number(c.address, 16);
        if (c.percent >= 0)
            e += QStringLiteral(" pct=%1").arg(c.percent);
        if (c.format > 0)
            e += QStringLiteral(" format=%1").arg(c.format);
        if (c.elapsedMs >= 0)
            elapsed.append(c.elapsedMs);
        events.append(e);
        counts.append({phase, c});
    }
    void done() override { events.append(QStringLiteral("done")); }
    void refused(const Refusal& r) override {
        refusal = r;
        events.append(r.operatorChose() ? QStringLiteral("refused by the operator")
                                        : QStringLiteral("refused ") + r.text(EnglishTexts()));
    }
    void workingFile(const QString& path, qint64 size) override {
        events.append(QStringLiteral("file %1 %2").arg(path).arg(size));
    }
    void firmwareTag(const QByteArray& tag) override {
        events.append(QStringLiteral("tag ") + QString::fromLatin1(tag));
    }
    void readyLine(bool ready) override {
        events.append(ready ? QStringLiteral("ready") : QStringLiteral("not ready"));
    }
    void erased() override { events.append(QStringLiteral("erased")); }
    void waiting() override { ++waits; }
    // The operator presses Exit when the question comes for the stopAtAsk-th time; pressed,
    // it stays pressed.
    bool stopRequested() override { return stopAtAsk > 0 && ++stopAsks >= stopAtAsk; }

    // The line counters reported in one phase, in order.
    QList<qint64> linesIn(Phase p) const {
        QList<qint64> lines;
        for (const auto& [in, c] : counts) {
            if (in == p)
                lines.append(c.line);
        }
        return lines;
    }
    QStringList events;
    Phase phase = Phase::Checking;
    QList<QPair<Phase, Counters>> counts;
    QList<int64_t> elapsed;
    Refusal refusal;
    int waits = 0;
    int stopAtAsk = -1;
    int stopAsks = 0;
};

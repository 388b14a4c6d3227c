#include "model/CamProgram.h"
#include "production/LineJobs.h"
#include "production/LineObserver.h"
#include "production/LineReport.h"
#include "production/LineRun.h"
#include "support/EnglishTexts.h"
#include "support/FakeLineTarget.h"

#include <QSemaphore>
#include <QTest>

#include <map>

namespace {

using Kind = FakeLineTarget::Kind;
using Result = TargetStatus::Result;

LineTarget device(const char* name) {
    return LineTarget{0, QString::fromLatin1(name)};
}

} // namespace

class TestLineRun : public QObject {
    Q_OBJECT

private slots:
    // Every target on its own scripted line, all at once: each ends alone with its own cause.
    void eachTargetEndsOnItsOwn() {
        const std::map<QString, Kind> kinds{{"good-1", Kind::Good},
                                            {"silent", Kind::Silent},
                                            {"other-type", Kind::OtherType},
                                            {"refuses", Kind::RefusesFrames},
                                            {"good-2", Kind::Good}};
        QList<LineTarget> targets;
        for (const char* name : {"good-1", "silent", "other-type", "refuses", "good-2"})
            targets.append(device(name));
        std::map<QString, int> opensLeftOpen;
        std::mutex mutex;
        LineRun run(EnglishTexts(), targets, [&](TargetContext& context) {
            FakeLineTarget target(kinds.at(context.target().device));
            const TargetEnd end = SendProgramJob(target.session.linkContext(),
                                                 target.session.program, target.prompts, context);
            std::lock_guard<std::mutex> lock(mutex);
            opensLeftOpen[context.target().device] = target.controller.isOpen();
            return end;
        });
        QList<QList<TargetStatus>> shown;
        run.run([&](const QList<TargetStatus>& s) { shown.append(s); }, nullptr, 5);

        const QList<TargetStatus> s = run.statuses();
        QCOMPARE(s.size(), 5);
        QCOMPARE(s[0].result, Result::Ok);
        QCOMPARE(s[0].type, QStringLiteral("C24-6"));
        QCOMPARE(s[0].cause, QString());
        QCOMPARE(s[1].result, Result::Failed);
        // Each with its first real cause: the message, the device, the stage, the why.
        QVERIFY2(
            s[1].cause.startsWith(QStringLiteral("COMM ERROR (")) &&
                s[1].cause.endsWith(QStringLiteral("identifying (\"?M\"): no answer for 3 s)")),
            qPrintable(s[1].cause));
        QCOMPARE(s[1].type, QString());
        QCOMPARE(s[2].result, Result::Failed);
        QCOMPARE(s[2].type, QStringLiteral("C8-21"));
        QVERIFY2(s[2].cause.startsWith(QStringLiteral("C8-21T71 (")) &&
                     s[2].cause.endsWith(QStringLiteral("identifying: the program is a C24-6)")),
                 qPrintable(s[2].cause));
        QCOMPARE(s[3].result, Result::Failed);
        QVERIFY2(s[3].cause.startsWith(QStringLiteral("TIMEOUT SERIAL PORT (")) &&
                     s[3].cause.contains(QStringLiteral("frame 1: the frame was not confirmed")),
                 qPrintable(s[3].cause));
        QCOMPARE(s[4].result, Result::Ok);
        for (const auto& [name, open] : opensLeftOpen)
            QVERIFY2(!open, qPrintable(name + QStringLiteral(" left its line open")));
        // The last view is the end, and the good ones went through every format on the way.
        QVERIFY(!shown.isEmpty());
        QCOMPARE(shown.last().at(4).result, Result::Ok);
        QCOMPARE(LineExitStatus(s), 1);
    }

    void stopEndsATransferAfterTheFrameOnItsWay() {
        LineRun* running = nullptr;
        bool stillOpenAfterStop = true;
        qsizetype framesSent = 0;
        LineRun run(EnglishTexts(), {device("one")}, [&](TargetContext& context) {
            FakeLineTarget target(Kind::Good);
            int frames = 0;
            target.controller.onWrite([&](const QByteArray& written, FakeController&) {
                // The operator presses Ctrl+C while the fourth frame travels.
                if (written.startsWith('\x02') && ++frames == 4)
                    running->requestStop();
            });
            const TargetEnd end = SendProgramJob(target.session.linkContext(),
                                                 target.session.program, target.prompts, context);
            stillOpenAfterStop = target.controller.isOpen();
            framesSent = TransferControllerScript::FrameTexts(target.controller.received()).size();
            return end;
        });
        running = &run;
        run.run(nullptr, nullptr, 5);
        QCOMPARE(run.statuses().first().result, Result::Stopped);
        QVERIFY(!stillOpenAfterStop);
        QCOMPARE(framesSent, 4);
    }

    // Ctrl+C while a controller floods the line with bytes that never make a frame: the wait
    // ends at the stop, not when the flood ends, and the target ends stopped.
    void stopEndsTheWaitOnAFlood_data() {
        QTest::addColumn<QByteArray>("flood");
        QTest::newRow("garbage") << QByteArray(20000, 'A');
        QTest::newRow("NULs") << QByteArray(20000, '\0');
    }
    void stopEndsTheWaitOnAFlood() {
        QFETCH(QByteArray, flood);
        LineRun* running = nullptr;
        int unread = -1;
        CamProgram expected;
        expected.Reconfigure(24, 6, false);
        LineRun run(EnglishTexts(), {device("flood")}, [&](TargetContext& context) {
            FakeLineTarget target(Kind::Good);
            target.controller.onWrite([&](const QByteArray& written, FakeController& c) {
                if (!written.startsWith("?FR"))
                    return;
                // A byte every millisecond, never silent; Ctrl+C comes with the first.
                c.queue(FakeController::Reply{flood, 0, int(flood.size()), 1});
                running->requestStop();
            });
            const TargetEnd end =
                VerifyProgramJob(target.session.linkContext(), target.session.program,
                                 target.prompts, context, expected);
            unread = target.controller.pendingBytes();
            return end;
        });
        running = &run;
        run.run(nullptr, nullptr, 5);
        QCOMPARE(run.statuses().first().result, Result::Stopped);
        QCOMPARE(unread, int(flood.size()));
    }

    void stopAskedReachesEveryJob() {
        QSemaphore started;
        QSemaphore never;
        LineRun run(EnglishTexts(), {device("a"), device("b")}, [&](TargetContext& context) {
            started.release();
            context.setStage(QStringLiteral("waiting for the stop"));
            while (!context.stopRequested())
                never.tryAcquire(1, 5); // a bounded wait, not a spin
            return TargetEnd{Result::Failed, QStringLiteral("gave up")};
        });
        // Ctrl+C comes once both jobs run.
        run.run(
            nullptr, [&] { return started.available() >= 2; }, 5);
        for (const TargetStatus& s : run.statuses()) {
            QCOMPARE(s.result, Result::Stopped);
            QCOMPARE(s.cause, QStringLiteral("gave up"));
        }
    }

    // A flash update's reports become the target's progress line and its end.
    void observerTellsTheLine() {
        QList<TargetEnd> ends;
        QStringList stages;
        LineRun run(EnglishTexts(), {device("a")}, [&](TargetContext& context) {
            LineObserver observer(context, EnglishTexts(), 514);
            observer.phaseBegun(ProgressObserver::Phase::Erasing);
            stages.append(run.statuses().first().stage);
            observer.phaseBegun(ProgressObserver::Phase::Transmitting);
            ProgressObserver::Counters counters;
            counters.line = 120;
            counters.percent = 23;
            observer.counted(counters);
            stages.append(run.statuses().first().stage +
                          QString::number(run.statuses().first().percent));
            ends.append(observer.end());
            observer.refused(Refusal{Refusal::Cause::Declined, 0, QString()});
            ends.append(observer.end());
            observer.refused(Refusal{Refusal::Cause::LineLost, 0, QStringLiteral("hung up")});
            ends.append(observer.end());
            observer.done();
            return observer.end();
        });
        run.run(nullptr, nullptr, 5);
        QCOMPARE(stages, (QStringList{"erase", "line 120/51423"}));
        QCOMPARE(ends[0].result, Result::Failed);
        QVERIFY(ends[1].cause.contains("--yes"));
        QCOMPARE(ends[2].result, Result::Failed);
        QVERIFY(ends[2].cause.contains("hung up"));
        QCOMPARE(run.statuses().first().result, Result::Ok);
    }

    void aJobThatThrowsFailsAlone() {
        LineRun run(EnglishTexts(), {device("a"), device("b")},
                    [](TargetContext& context) -> TargetEnd {
                        if (context.target().device == QLatin1String("a"))
                            throw std::runtime_error("out of memory");
                        return {Result::Ok, QString()};
                    });
        run.run(nullptr, nullptr, 5);
        QCOMPARE(run.statuses()[0].result, Result::Failed);
        QCOMPARE(run.statuses()[0].cause, QStringLiteral("internal error: out of memory"));
        QCOMPARE(run.statuses()[1].result, Result::Ok);
    }
};

QTEST_GUILESS_MAIN(TestLineRun)
#include "tst_linerun.moc"

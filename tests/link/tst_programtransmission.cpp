#include "link/LinkOutcome.h"
#include "link/ProgramTransmission.h"
#include "support/TransferFixture.h"

#include <QTest>

namespace {

using Script = TransferControllerScript;

// Everything after the transfer command, as frame texts.
QList<QByteArray> framesAfterCommand(const FakeController& controller) {
    const QByteArray sent = controller.received();
    const qsizetype command = sent.indexOf(QByteArray::fromHex("3F4657DC0D"));
    return command < 0 ? QList<QByteArray>() : Script::FrameTexts(sent.mid(command + 5));
}

// shown, when given, gets what the operator is shown: the refusal, or how the transfer ended.
TransmitSizesResult transmit(TransferFixture& f, int* saves = nullptr, Outcome* shown = nullptr) {
    OutcomeRecorder recorder(f.session.linkContext(), OutcomeRecorder::Exchange::Transmission,
                             f.progress);
    const TransmitSizesOutcome result = TransmitSizes(
        f.session.linkContext(), f.session.program, QStringLiteral("MAIN"),
        [saves] {
            if (saves)
                ++*saves;
        },
        [&] { return RunTransmission(f.session.linkContext(), f.session.program, recorder); });
    if (shown)
        *shown =
            result.result == TransmitSizesResult::NotSent ? recorder.outcome() : result.outcome;
    return result.result;
}

} // namespace

class TestProgramTransmission : public QObject {
    Q_OBJECT

private slots:
    void wholeProgramGoesOutFrameByFrame() {
        TransferFixture f(24, 6);
        CamProgram& p = f.session.program;
        p.SetPhase(1, 1, 30, 90);
        p.SetPhase(1, 1, 350, 20);
        p.SetCamName(1, QStringLiteral("FEEDER"));
        p.SetPhase(2, 1, 100, 200);
        p.SetPhase(6, 24, 0, 1);
        p.Parameters.EncoderShift = -1;
        p.Parameters.RotationSense = 1;
        p.Parameters.SpeedLimit = 10;
        f.script.acknowledgeFrames();
        QCOMPARE(transmit(f), TransmitSizesResult::Sent);
        QVERIFY2(f.prompts.allShown(), qPrintable(f.prompts.problems()));

        const QList<QByteArray> expected{"0",        "00FFFF01000A", "F01",      "C 01\"FEEDER\"",
                                         " 030 090", " 350 020",     "F02",      "C 01",
                                         " 100 200", "F03",          "F04",      "F05",
                                         "F06",      "C 24",         " 000 001", "END"};
        QCOMPARE(framesAfterCommand(f.controller), expected);
        // The last frame byte for byte.
        QVERIFY(f.controller.received().endsWith(QByteArray::fromHex("02454E44034C")));
        // Flow control is off for the transmission, and the port closed at its end.
        QVERIFY(!f.controller.hardwareFlowControl());
        QVERIFY(!f.controller.isOpen());
        // The advance and parameter frames (13 bytes) went before the first format.
        const QStringList& events = f.progress.events;
        QCOMPARE(events.mid(0, 2),
                 (QStringList{"phase Transmitting", "counted line=2 bytes=13 pct=17 format=1"}));
        QCOMPARE(events.mid(events.size() - 2),
                 (QStringList{"counted line=12 bytes=68 pct=100 format=6", "done"}));
    }

    void advanceLine_data() {
        QTest::addColumn<int>("cams");
        QTest::addColumn<int>("formats");
        QTest::addColumn<int>("count");
        QTest::addColumn<QList<int>>("values");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("24 cams, groups of four")
            << 24 << 6 << 6 << QList<int>{10, 20, 30, 40, 50, 60} << QByteArray("10A141E28323C");
        QTest::newRow("8 cams, none") << 8 << 21 << 0 << QList<int>{} << QByteArray("0");
        QTest::newRow("8 cams, groups of four")
            << 8 << 89 << 2 << QList<int>{255, 1} << QByteArray("1FF01");
        QTest::newRow("8 cams, groups of two")
            << 8 << 21 << 4 << QList<int>{1, 2, 3, 4} << QByteArray("201020304");
        QTest::newRow("16 cams, one per cam") << 16 << 10 << 16 << QList<int>(16, 171)
                                              << QByteArray("3") + QByteArray("AB").repeated(16);
        QTest::newRow("a count that fits no mode")
            << 24 << 6 << 5 << QList<int>{1, 2, 3, 4, 5} << QByteArray("0");
    }
    void advanceLine() {
        QFETCH(int, cams);
        QFETCH(int, formats);
        QFETCH(int, count);
        QFETCH(QList<int>, values);
        QFETCH(QByteArray, line);
        TransferFixture f(cams, formats);
        FunctionParameters& p = f.session.program.Parameters;
        p.AdvanceCount = int16_t(count);
        for (int k = 0; k < values.size(); ++k)
            p.CamAdvance[k] = uint8_t(values[k]);
        f.script.acknowledgeFrames();
        QCOMPARE(RunTransmission(f.session.linkContext(), f.session.program, f.progress),
                 TransferOutcome::Completed);
        QCOMPARE(framesAfterCommand(f.controller).value(0), line);
    }

    void parameterLine_data() {
        QTest::addColumn<QList<int>>("values"); // output, shift, sense, speed
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("0 -1 1 10") << QList<int>{0, -1, 1, 10} << QByteArray("00FFFF01000A");
        QTest::newRow("extremes") << QList<int>{255, 32767, 15, -32768}
                                  << QByteArray("FF7FFF0F8000");
        QTest::newRow("cut to the last digits")
            << QList<int>{300, 4096, -2, 1000} << QByteArray("2C1000FE03E8");
    }
    void parameterLine() {
        QFETCH(QList<int>, values);
        QFETCH(QByteArray, line);
        TransferFixture f(24, 6);
        FunctionParameters& p = f.session.program.Parameters;
        p.OutputFormat = int16_t(values[0]);
        p.EncoderShift = int16_t(values[1]);
        p.RotationSense = int16_t(values[2]);
        p.SpeedLimit = int16_t(values[3]);
        f.script.acknowledgeFrames();
        QCOMPARE(RunTransmission(f.session.linkContext(), f.session.program, f.progress),
                 TransferOutcome::Completed);
        QCOMPARE(framesAfterCommand(f.controller).value(1), line);
    }

    void formatHeadersAndNames() {
        TransferFixture f(8, 21);
        CamProgram& p = f.session.program;
        p.SetCamName(5, QStringLiteral("PUSHER"));
        p.SetPhase(7, 5, 45, 90);
        p.SetCamName(8, QStringLiteral("   "));
        p.SetPhase(1, 8, 10, 11);
        f.script.acknowledgeFrames();
        QCOMPARE(RunTransmission(f.session.linkContext(), f.session.program, f.progress),
                 TransferOutcome::Completed);
        const QList<QByteArray> frames = framesAfterCommand(f.controller);
        // Format 1: the named cam without phases sends only its header; a blank name is none.
        const qsizetype f01 = frames.indexOf("F01");
        QCOMPARE(frames.mid(f01, 4),
                 (QList<QByteArray>{"F01", "C 05\"PUSHER\"", "C 08", " 010 011"}));
        // Later formats carry no names.
        const qsizetype f07 = frames.indexOf("F07");
        QCOMPARE(frames.mid(f07, 4), (QList<QByteArray>{"F07", "C 05", " 045 090", "F08"}));
        QCOMPARE(frames.count("F21"), 1);
        QVERIFY(!frames.contains("F22"));
        QCOMPARE(frames.last(), QByteArray("END"));
    }

    void progressSteps_data() {
        QTest::addColumn<int>("cams");
        QTest::addColumn<int>("formats");
        QTest::addColumn<QList<int>>("percents");
        QTest::newRow("6 formats") << 24 << 6 << QList<int>{17, 33, 50, 67, 83, 100};
        QTest::newRow("10 formats")
            << 16 << 10 << QList<int>{10, 20, 30, 40, 50, 60, 70, 80, 90, 100};
    }
    void progressSteps() {
        QFETCH(int, cams);
        QFETCH(int, formats);
        QFETCH(QList<int>, percents);
        TransferFixture f(cams, formats);
        f.script.acknowledgeFrames();
        QCOMPARE(RunTransmission(f.session.linkContext(), f.session.program, f.progress),
                 TransferOutcome::Completed);
        QList<int> shown;
        for (const auto& count : f.progress.counts)
            shown.append(count.second.percent);
        QCOMPARE(shown, percents);
    }

    void negativeAnswersAreResent() {
        TransferFixture f(24, 6);
        f.session.program.SetPhase(3, 2, 1, 2);
        f.controller.whenFrame(FakeController::nak(), 1);
        f.controller.whenFrame(FakeController::bytes("?"), 1);
        f.controller.whenFrame(FakeController::ack());
        QCOMPARE(RunTransmission(f.session.linkContext(), f.session.program, f.progress),
                 TransferOutcome::Completed);
        const QList<QByteArray> frames = framesAfterCommand(f.controller);
        QCOMPARE(frames.mid(0, 4), (QList<QByteArray>{"0", "0", "0", "000000000000"}));
        QCOMPARE(frames.count("END"), 1);
    }

    void silentControllerEndsTheTransmissionOnce() {
        TransferFixture f(24, 28);
        f.session.program.SetPhase(1, 1, 10, 20);
        f.controller.whenFrame(FakeController::ack(), 4);
        f.controller.whenFrame(FakeController::silence());
        Outcome shown;
        QCOMPARE(transmit(f, nullptr, &shown), TransmitSizesResult::NotSent);
        QCOMPARE(f.progress.events.last(), QStringLiteral("refused TIMEOUT SERIAL PORT "));
        // Where it broke off, and that the controller keeps the four frames it took.
        QCOMPARE(shown.text(f.session.texts),
                 QStringLiteral("TIMEOUT SERIAL PORT \n%1, format 1, frame 5: the frame was not "
                                "confirmed by ACK\nT340")
                     .arg(f.session.link.state.DeviceOverride));
        QVERIFY2(f.prompts.allShown(), qPrintable(f.prompts.problems()));
        // Four confirmed, the fifth given up, and nothing of the other 27 formats after it.
        QCOMPARE(framesAfterCommand(f.controller),
                 (QList<QByteArray>{"0", "000000000000", "F01", "C 01", " 010 020"}));
        QVERIFY(!f.controller.isOpen());
    }

    void otherTypeSendsNothing() {
        TransferFixture f(24, 28, 16, 10);
        f.script.acknowledgeFrames();
        Outcome shown;
        QCOMPARE(transmit(f, nullptr, &shown), TransmitSizesResult::OtherType);
        QCOMPARE(shown.message, QStringLiteral("C16-10T71"));
        QVERIFY(f.prompts.allShown());
        QVERIFY(!f.controller.received().contains("?FW"));
        QCOMPARE(f.session.program.CamCount(), 24);
    }

    void unsavedProgramQuestion_data() {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("saves");
        QTest::addColumn<bool>("sent");
        QTest::newRow("yes saves first") << int(Prompts::Answer::Yes) << 1 << true;
        QTest::newRow("no sends unsaved") << int(Prompts::Answer::No) << 0 << true;
        QTest::newRow("cancel sends nothing") << int(Prompts::Answer::Cancel) << 0 << false;
    }
    void unsavedProgramQuestion() {
        QFETCH(int, answer);
        QFETCH(int, saves);
        QFETCH(bool, sent);
        TransferFixture f(24, 6);
        f.session.program.ProgramSaved = false;
        f.script.acknowledgeFrames();
        f.prompts.expectMessage(QStringLiteral("T113"), Prompts::Answer(answer));
        int saved = 0;
        const int64_t start = f.clock.nowMs();
        const TransmitSizesResult result = transmit(f, &saved);
        QVERIFY(f.prompts.allShown());
        QCOMPARE(f.prompts.messages().first().title, QStringLiteral("MAIN"));
        QCOMPARE(f.prompts.messages().first().buttons, Prompts::Buttons::YesNoCancel);
        QCOMPARE(saved, saves);
        QCOMPARE(result == TransmitSizesResult::Sent, sent);
        QCOMPARE(f.controller.received().contains("?FW"), sent);
        // The question comes after the identification, never instead of it.
        QVERIFY(f.controller.received().startsWith("?M8C\r"));
        if (sent) // the pauses: 80 before, 50 after the command, 10 per header and format, 15 at
                  // END
            QVERIFY(f.clock.nowMs() - start >= 80 + 50 + 6 * 20 + 15);
    }

    void exitStopsAfterTheCurrentFrame() {
        TransferFixture f(24, 6);
        f.script.acknowledgeFrames();
        f.progress.stopAtAsk = 3;
        QCOMPARE(RunTransmission(f.session.linkContext(), f.session.program, f.progress),
                 TransferOutcome::Stopped);
        QCOMPARE(framesAfterCommand(f.controller), (QList<QByteArray>{"0", "000000000000", "F01"}));
        QCOMPARE(f.progress.events.last(), QStringLiteral("refused by the operator"));
        QVERIFY(!f.controller.isOpen());
    }

    void portNotReadySendsNothing() {
        TransferFixture f(24, 6);
        f.controller.setCts(false);
        QCOMPARE(RunTransmission(f.session.linkContext(), f.session.program, f.progress),
                 TransferOutcome::NotStarted);
        QCOMPARE(f.progress.events.last(), QStringLiteral("refused COMM ERR 1"));
        QVERIFY(f.prompts.allShown());
        QVERIFY(f.controller.received().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestProgramTransmission)
#include "tst_programtransmission.moc"

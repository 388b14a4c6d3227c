#include "link/ProgramReception.h"
#include "support/TransferFixture.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/stat.h>

namespace {

// A complete program of 24 cams and 6 formats as the controller streams it.
QList<QByteArray> fullStream() {
    return {"FUNZIONI 24-06",
            "010A141E28323C",
            "00FFFF01000A",
            "FORMATO N. 01",
            "C 01\"FEEDER\"",
            " 030 090",
            " 350 020",
            "C 24",
            " 000 001",
            "FORMATO N. 02",
            "C 03",
            " 100 200",
            "FORMATO N. 03",
            "FORMATO N. 04",
            "FORMATO N. 05",
            "FORMATO N. 06",
            "END"};
}

// What the transfer window gets from the stream, whatever the controller said.
ReceiveSizesOutcome receive(TransferFixture& f, TransferOutcome* outcome = nullptr) {
    return ReceiveSizes(
        f.session.linkContext(), f.session.program, f.session.edit, QStringLiteral("MAIN"), [&] {
            const TransferOutcome o =
                RunReception(f.session.linkContext(), f.session.program, f.progress);
            if (outcome)
                *outcome = o;
            return o;
        });
}

// A program with something in every place a reception must replace or keep.
void fillProgram(CamProgram& program) {
    for (int format = 1; format <= program.FormatCount(); ++format)
        program.SetPhase(format, 2, 10, 20);
    program.SetCamName(2, QStringLiteral("OLD"));
    program.Parameters.SpeedLimit = 77;
    program.ProgramSaved = true;
    program.CurrentFormat = 4;
}

bool writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QByteArray readFile(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestProgramReception : public QObject {
    Q_OBJECT

private slots:
    void receivesWholeProgram() {
        TransferFixture f(24, 6);
        fillProgram(f.session.program);
        f.script.stream(fullStream());
        TransferOutcome outcome{};
        QCOMPARE(receive(f, &outcome), ReceiveSizesResult::Received);
        QCOMPARE(outcome, TransferOutcome::Completed);
        QVERIFY2(f.prompts.allShown(), qPrintable(f.prompts.problems()));

        // The transfer command goes out after the identification, byte for byte, and every
        // frame is answered by one ACK.
        const QByteArray sent = f.controller.received();
        QVERIFY(sent.startsWith("?M8C\r"));
        const qsizetype command = sent.indexOf(QByteArray::fromHex("3F4652D70D"));
        QVERIFY(command > sent.indexOf("?T93\r"));
        QCOMPARE(sent.mid(command + 5), QByteArray(17, '\x06'));
        QVERIFY(!f.controller.isOpen());

        // The transfer file holds every frame as one CR LF line.
        QCOMPARE(f.transferFile(), fullStream().join("\r\n") + "\r\n");

        const CamProgram& p = f.session.program;
        QCOMPARE(p.Parameters.AdvanceCount, int16_t(6));
        QCOMPARE(std::vector<uint8_t>(p.Parameters.CamAdvance.begin(),
                                      p.Parameters.CamAdvance.begin() + 6),
                 (std::vector<uint8_t>{10, 20, 30, 40, 50, 60}));
        QCOMPARE(p.Parameters.OutputFormat, int16_t(0));
        QCOMPARE(p.Parameters.EncoderShift, int16_t(-1));
        QCOMPARE(p.Parameters.RotationSense, int16_t(1));
        QCOMPARE(p.Parameters.SpeedLimit, int16_t(10));
        QCOMPARE(f.phases(1, 1), QStringLiteral("30-90 350-20"));
        QCOMPARE(f.phases(1, 24), QStringLiteral("0-1"));
        QCOMPARE(f.phases(2, 3), QStringLiteral("100-200"));
        QCOMPARE(p.CamName(1), QStringLiteral("FEEDER"));
        // What was in memory is gone from every format.
        for (int format = 1; format <= 6; ++format)
            QCOMPARE(f.phases(format, 2), QString());
        QCOMPARE(p.CurrentFormat, 1);
        QVERIFY(!p.ProgramSaved);

        // Three frames of 46 bytes with their CR LF came before the first format.
        const QStringList& events = f.progress.events;
        QCOMPARE(events.mid(0, 2),
                 (QStringList{"phase Receiving", "counted line=3 bytes=46 pct=16 format=1"}));
        QCOMPARE(events.last(), QStringLiteral("done"));
        QList<int> percents;
        for (const auto& count : f.progress.counts)
            percents.append(count.second.percent);
        QCOMPARE(percents, (QList<int>{16, 33, 50, 66, 83, 100}));
    }

    void headerProgress_data() {
        QTest::addColumn<int>("cams");
        QTest::addColumn<int>("formats");
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<int>("percent");
        QTest::addColumn<int>("format");
        QTest::newRow("3 of 28") << 24 << 28 << QByteArray("FORMATO N. 03") << 10 << 3;
        QTest::newRow("28 of 28") << 24 << 28 << QByteArray("FORMATO N. 28") << 100 << 28;
        QTest::newRow("1 of 44") << 16 << 44 << QByteArray("FORMATO N. 01") << 2 << 1;
        QTest::newRow("89 of 89") << 8 << 89 << QByteArray(" FORMATO N. 89") << 100 << 89;
        QTest::newRow("number beyond the count")
            << 16 << 10 << QByteArray("FORMATO N. 99") << 100 << 99;
    }
    void headerProgress() {
        QFETCH(int, cams);
        QFETCH(int, formats);
        QFETCH(QByteArray, header);
        QFETCH(int, percent);
        QFETCH(int, format);
        TransferFixture f(cams, formats);
        f.controller.open(f.session.link.state.DeviceOverride, nullptr);
        f.script.stream({"FUNZIONI", "00", "000000000000", header, "END"});
        QCOMPARE(RunReception(f.session.linkContext(), f.session.program, f.progress),
                 TransferOutcome::Completed);
        QCOMPARE(
            f.progress.events.at(1),
            QStringLiteral("counted line=3 bytes=28 pct=%1 format=%2").arg(percent).arg(format));
    }

    void advanceLine_data() {
        QTest::addColumn<int>("cams");
        QTest::addColumn<int>("formats");
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QList<int>>("values");
        QList<int> perCam;
        QByteArray perCamLine = "03";
        for (int k = 1; k <= 24; ++k) {
            perCam << 10 * k;
            perCamLine += QByteArray::number(10 * k, 16).toUpper().rightJustified(2, '0');
        }
        QTest::newRow("one per cam, 24 cams") << 24 << 6 << perCamLine << perCam;
        QTest::newRow("groups of four, 8 cams")
            << 8 << 21 << QByteArray("01FF00") << QList<int>{255, 0};
        QTest::newRow("groups of two, 16 cams")
            << 16 << 10 << QByteArray("020102030405060708") << QList<int>{1, 2, 3, 4, 5, 6, 7, 8};
        QTest::newRow("lower-case digits")
            << 8 << 21 << QByteArray("01ab0c") << QList<int>{171, 12};
        QTest::newRow("no advance") << 24 << 6 << QByteArray("00") << QList<int>{};
        QTest::newRow("unknown mode") << 24 << 6 << QByteArray("0710203040") << QList<int>{};
        QTest::newRow("line too short") << 8 << 21 << QByteArray("0105") << QList<int>{5, 0};
        QTest::newRow("not hexadecimal") << 8 << 21 << QByteArray("01ZZ1G") << QList<int>{0, 1};
    }
    void advanceLine() {
        QFETCH(int, cams);
        QFETCH(int, formats);
        QFETCH(QByteArray, line);
        QFETCH(QList<int>, values);
        TransferFixture f(cams, formats);
        f.session.program.Parameters.CamAdvance.assign(cams, 99);
        f.writeTransferFile("FUNZIONI\r\n" + line + "\r\n000000000000\r\nEND\r\n");
        QCOMPARE(ReadTransferFile(f.session.linkContext(), f.session.program),
                 TransferFileRead::Read);
        const FunctionParameters& p = f.session.program.Parameters;
        QCOMPARE(int(p.AdvanceCount), int(values.size()));
        for (int k = 0; k < values.size(); ++k)
            QCOMPARE(int(p.CamAdvance.at(k)), values.at(k));
    }

    void parameterLine_data() {
        QTest::addColumn<QByteArray>("line");
        QTest::addColumn<QList<int>>("values"); // output, shift, sense, speed
        QTest::newRow("signed 16-bit") << QByteArray("00FFFF01000A") << QList<int>{0, -1, 1, 10};
        QTest::newRow("extremes") << QByteArray("FF7FFF0F8000")
                                  << QList<int>{255, 32767, 15, -32768};
        QTest::newRow("short line") << QByteArray("0A0010") << QList<int>{10, 16, 0, 0};
        QTest::newRow("empty line") << QByteArray("") << QList<int>{0, 0, 0, 0};
    }
    void parameterLine() {
        QFETCH(QByteArray, line);
        QFETCH(QList<int>, values);
        TransferFixture f(24, 6);
        f.writeTransferFile("FUNZIONI\r\n00\r\n" + line + "\r\nEND\r\n");
        QCOMPARE(ReadTransferFile(f.session.linkContext(), f.session.program),
                 TransferFileRead::Read);
        const FunctionParameters& p = f.session.program.Parameters;
        QCOMPARE((QList<int>{p.OutputFormat, p.EncoderShift, p.RotationSense, p.SpeedLimit}),
                 values);
    }

    void otherTypeIsRefusedBeforeTheTransferCommand_data() {
        QTest::addColumn<int>("cams");
        QTest::addColumn<int>("formats");
        QTest::addColumn<QString>("message");
        QTest::newRow("8-21 for 24-28") << 8 << 21 << "C8-21T71";
        QTest::newRow("24-6 for 24-28") << 24 << 6 << "C24-6T71";
        QTest::newRow("16-44 for 24-28") << 16 << 44 << "C16-44T71";
    }
    void otherTypeIsRefusedBeforeTheTransferCommand() {
        QFETCH(int, cams);
        QFETCH(int, formats);
        QFETCH(QString, message);
        TransferFixture f(24, 28, cams, formats);
        fillProgram(f.session.program);
        f.script.stream(fullStream());
        bool windowOpened = false;
        const ReceiveSizesOutcome result =
            ReceiveSizes(f.session.linkContext(), f.session.program, f.session.edit,
                         QStringLiteral("MAIN"), [&] {
                             windowOpened = true;
                             return TransferOutcome::Completed;
                         });
        QCOMPARE(result.result, ReceiveSizesResult::OtherType);
        QCOMPARE(result.outcome.message, message);
        QVERIFY(result.outcome.cause.contains(QStringLiteral("C24-28")));
        QVERIFY(f.prompts.allShown());
        QVERIFY(!windowOpened);
        QVERIFY(!f.controller.received().contains("?FR"));
        QCOMPARE(f.session.program.CamCount(), 24);
        QCOMPARE(f.session.program.FormatCount(), 28);
        QCOMPARE(f.phases(3, 2), QStringLiteral("10-20"));
    }

    void fewerSectionsThanFormatsEndAtEnd() {
        TransferFixture f(24, 6);
        fillProgram(f.session.program);
        f.script.stream({"FUNZIONI 24-06", "00", "000000000000", "FORMATO N. 01", "C 05",
                         " 010 020", "FORMATO N. 02", "C 06", " 030 040", "END"});
        QCOMPARE(receive(f), ReceiveSizesResult::Received);
        QCOMPARE(f.phases(1, 5), QStringLiteral("10-20"));
        QCOMPARE(f.phases(2, 6), QStringLiteral("30-40"));
        for (int format = 3; format <= 6; ++format)
            for (int cam = 1; cam <= 24; ++cam)
                QCOMPARE(f.phases(format, cam), QString());
    }

    void receptionThatNeverBeganReadsNothing_data() {
        QTest::addColumn<bool>("ctsDropsAfterIdentification");
        QTest::addColumn<QString>("inPlace"); // what stands where the transfer file goes
        QTest::addColumn<QString>("message"); // @ = the transfer file's path
        const QString file = QStringLiteral("file");
        QTest::newRow("port not ready in the window") << true << file << "COMM ERR 1";
        QTest::newRow("silence before the first frame") << false << file << "TIMEOUT SERIAL PORT ";
        // Never waited on, never followed to overwrite what the link names.
        QTest::newRow("a FIFO") << false << "fifo"
                                << "@: a FIFO, not a regular file";
        QTest::newRow("a symbolic link") << false << "link"
                                         << "@: a symbolic link, not a regular file";
        QTest::newRow("a directory") << false << "dir"
                                     << "@: a directory, not a regular file";
    }
    void receptionThatNeverBeganReadsNothing() {
        QFETCH(bool, ctsDropsAfterIdentification);
        QFETCH(QString, inPlace);
        QFETCH(QString, message);
        TransferFixture f(24, 6);
        fillProgram(f.session.program);
        const QString path = f.transferFilePath();
        const QByteArray earlier = fullStream().join("\r\n") + "\r\n";
        const QString target = f.dir.filePath(QStringLiteral("PRECIOUS"));
        if (inPlace == QLatin1String("fifo"))
            QVERIFY(mkfifo(QFile::encodeName(path).constData(), 0600) == 0);
        else if (inPlace == QLatin1String("link"))
            QVERIFY(writeFile(target, earlier) && QFile::link(target, path));
        else if (inPlace == QLatin1String("dir"))
            QVERIFY(QDir().mkpath(path));
        else // a whole program left by an earlier reception must not be read again
            f.writeTransferFile(earlier);
        message.replace(QLatin1Char('@'), path);
        if (ctsDropsAfterIdentification) {
            f.controller.onWrite([](const QByteArray& written, FakeController& c) {
                if (written == "?T93\r")
                    c.setCts(false);
            });
        }
        TransferOutcome outcome{};
        QCOMPARE(receive(f, &outcome), ReceiveSizesResult::NothingReceived);
        QCOMPARE(outcome, TransferOutcome::NotStarted);
        QCOMPARE(f.progress.events.last(), QStringLiteral("refused ") + message);
        QVERIFY2(f.prompts.allShown(), qPrintable(f.prompts.problems()));
        QCOMPARE(f.phases(4, 2), QStringLiteral("10-20"));
        QCOMPARE(f.phases(1, 1), QString());
        QCOMPARE(f.session.program.Parameters.SpeedLimit, int16_t(77));
        QVERIFY(f.session.program.ProgramSaved);
        QCOMPARE(f.session.program.CurrentFormat, 4);
        QVERIFY(!f.controller.isOpen());
        if (inPlace == QLatin1String("link"))
            QCOMPARE(readFile(target), earlier);
    }

    // A stream that breaks off asks whether to keep what came (then unsaved) or to put back
    // the program as it was before the reception, which is what anything but Yes does.
    void silenceMidStreamAsksKeepOrPutBack_data() {
        QTest::addColumn<int>("answer");
        QTest::newRow("keep what came") << int(Prompts::Answer::Yes);
        QTest::newRow("put back") << int(Prompts::Answer::No);
    }
    void silenceMidStreamAsksKeepOrPutBack() {
        QFETCH(int, answer);
        const bool keep = Prompts::Answer(answer) == Prompts::Answer::Yes;
        TransferFixture f(24, 6);
        fillProgram(f.session.program);
        f.session.edit.enterPhase(200, 210);
        f.session.program.ProgramSaved = true;
        f.script.stream(fullStream(), 6); // FUNZIONI .. " 030 090", then nothing
        f.prompts.expectMessage(
            QStringLiteral("Reception broken off after format 1 of 6: keep what came, or put "
                           "back the program as it was?\nYes keeps what came, No puts back the "
                           "program as it was."),
            Prompts::Answer(answer));
        const int64_t start = f.clock.nowMs();
        QCOMPARE(receive(f), keep ? ReceiveSizesResult::Received : ReceiveSizesResult::PutBack);
        QVERIFY(f.clock.nowMs() - start >= 3000);
        QCOMPARE(f.progress.events.last(), QStringLiteral("refused TIMEOUT SERIAL PORT "));
        QVERIFY2(f.prompts.allShown(), qPrintable(f.prompts.problems()));
        QCOMPARE(f.prompts.messages().last().buttons, Prompts::Buttons::YesNoDefaultNo);
        QCOMPARE(f.phases(1, 1), keep ? QStringLiteral("30-90") : QString());
        QCOMPARE(f.phases(2, 2), keep ? QString() : QStringLiteral("10-20"));
        QCOMPARE(f.phases(6, 2), keep ? QString() : QStringLiteral("10-20"));
        QCOMPARE(f.session.program.Parameters.SpeedLimit, int16_t(keep ? 10 : 77));
        QCOMPARE(f.session.program.ProgramSaved, !keep);
        QCOMPARE(f.session.program.CurrentFormat, keep ? 1 : 4);
        // Undo may take back the entry only in the program it was made in.
        QCOMPARE(f.session.edit.canUndo(), !keep);
        QVERIFY(!f.controller.isOpen());
    }

    void stoppedReceptionReadsNothing() {
        TransferFixture f(24, 6);
        fillProgram(f.session.program);
        f.script.stream(fullStream());
        // Exit is pressed as the fifth frame is answered: the wait for the sixth ends at once.
        int acks = 0;
        f.controller.onWrite([&](const QByteArray& written, FakeController&) {
            if (written == "\x06" && ++acks == 5)
                f.progress.stopAtAsk = f.progress.stopAsks + 1;
        });
        TransferOutcome outcome{};
        QCOMPARE(receive(f, &outcome), ReceiveSizesResult::NothingReceived);
        QCOMPARE(outcome, TransferOutcome::Stopped);
        QCOMPARE(acks, 5);
        QCOMPARE(f.script.framesStreamed(), 6);
        QVERIFY(f.controller.pendingBytes() > 0);
        QCOMPARE(f.phases(4, 2), QStringLiteral("10-20"));
        QVERIFY(f.session.program.ProgramSaved);
        QVERIFY(!f.controller.isOpen());
    }

    void dataWithoutFunctionBlockLeavesTheProgram_data() {
        QTest::addColumn<QList<QByteArray>>("stream");
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("place");
        QTest::newRow("first line") << QList<QByteArray>{"HELLO", "END"} << "HELLOT10"
                                    << "__.__ line 1";
        QTest::newRow("ends after the header")
            << QList<QByteArray>{"FUNZIONI 24-06"} << "FUNZIONI 24-06T10"
            << "__.__ line 1";
        QTest::newRow("ends after the advance line")
            << QList<QByteArray>{"FUNZIONI 24-06", "00"} << "00T10"
            << "__.__ line 2";
    }
    void dataWithoutFunctionBlockLeavesTheProgram() {
        QFETCH(QList<QByteArray>, stream);
        QFETCH(QString, message);
        QFETCH(QString, place);
        TransferFixture f(24, 6);
        fillProgram(f.session.program);
        f.script.stream(stream);
        const ReceiveSizesOutcome got = receive(f);
        QCOMPARE(got.result, ReceiveSizesResult::Unusable);
        QCOMPARE(got.outcome.message, message);
        QVERIFY2(got.outcome.place.endsWith(place), qPrintable(got.outcome.place));
        QCOMPARE(f.progress.events.last(), stream.endsWith("END")
                                               ? QStringLiteral("done")
                                               : QStringLiteral("refused TIMEOUT SERIAL PORT "));
        QCOMPARE(f.phases(5, 2), QStringLiteral("10-20"));
        QCOMPARE(f.session.program.Parameters.SpeedLimit, int16_t(77));
        QVERIFY(f.session.program.ProgramSaved);
    }

    void refusedSectionStopsTheReading() {
        TransferFixture f(8, 21);
        f.script.stream({"FUNZIONI 08-21", "00", "000000000000", "FORMATO N. 01", "C 01",
                         " 010 020", "FORMATO N. 02", "C 09", " 030 040", "FORMATO N. 03", "C 02",
                         " 050 060", "END"});
        const ReceiveSizesOutcome got = receive(f);
        QCOMPARE(got.result, ReceiveSizesResult::PartlyRead);
        QCOMPARE(got.outcome.message, QStringLiteral("C 09T10"));
        QVERIFY2(got.outcome.place.endsWith("__.__ line 8"), qPrintable(got.outcome.place));
        QCOMPARE(f.phases(1, 1), QStringLiteral("10-20"));
        QCOMPARE(f.phases(3, 2), QString());
        QVERIFY(!f.session.program.ProgramSaved);
    }

    void damagedFrameIsKeptAsItCame() {
        TransferFixture f(24, 6);
        QList<QByteArray> frames;
        for (const QByteArray& text : fullStream())
            frames.append(TransferControllerScript::Frame(text));
        QByteArray damaged = frames[6]; // " 350 020" with a wrong block check
        damaged[damaged.size() - 1] = 'x';
        frames[6] = damaged;
        f.script.streamFrames(frames);
        QCOMPARE(receive(f), ReceiveSizesResult::Received);
        QVERIFY(f.transferFile().contains("\r\n" + damaged + "\r\n"));
        QCOMPARE(f.controller.received().count('\x06'), 17);
        // The damaged line is no phase line; the rest of the cam still came.
        QCOMPARE(f.phases(1, 1), QStringLiteral("30-90"));
    }

    void unsavedProgramIsKeptOnCancel() {
        TransferFixture f(24, 6);
        fillProgram(f.session.program);
        f.session.program.ProgramSaved = false;
        f.prompts.expectMessage(QStringLiteral("T112"), Prompts::Answer::Cancel);
        QCOMPARE(receive(f), ReceiveSizesResult::Cancelled);
        QVERIFY(f.prompts.allShown());
        QVERIFY(f.controller.received().isEmpty());
        QCOMPARE(f.prompts.messages().first().title, QStringLiteral("MAIN"));
    }

    void missingTransferFileReadsAsEmpty() {
        TransferFixture f(24, 6);
        fillProgram(f.session.program);
        const TransferFileReading read =
            ReadTransferFile(f.session.linkContext(), f.session.program);
        QCOMPARE(read.status, TransferFileRead::NoFunctionBlock);
        QCOMPARE(read.outcome.message, QStringLiteral("T10"));
        QCOMPARE(f.phases(1, 2), QStringLiteral("10-20"));
    }
};

QTEST_GUILESS_MAIN(TestProgramReception)
#include "tst_programreception.moc"

#include "flash/UpdateRun.h"
#include "link/LinkOutcome.h"
#include "link/ProgramTransmission.h"
#include "production/LineJobs.h"
#include "production/LineReport.h"
#include "production/TargetPrompts.h"
#include "shell/Session.h"
#include "support/EnglishTexts.h"
#include "support/FakeCommonDialog.h"
#include "support/FakeController.h"
#include "support/FlashControllerScript.h"
#include "support/HexImages.h"
#include "support/RecordingProgressObserver.h"
#include "support/TransferControllerScript.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

using Result = TargetStatus::Result;

// One controller with one fault, on its own fake line, as the window or a line job has it.
// Language text n reads "T<n>".
struct FaultyController {
    FakeClock clock;
    TargetPrompts prompts{true};
    FakeCommonDialogBackend dialogs;
    CommonDialog dialog{dialogs};
    QTemporaryDir dir;
    FakeController controller{clock};
    Session session{prompts, clock, dialog, controller, dir.path()};
    std::unique_ptr<TransferControllerScript> transfer;
    FlashControllerScript loader;
    int frames = 0;

    explicit FaultyController(const QString& fault) {
        const QString device = dir.filePath(QStringLiteral("tty"));
        if (fault != QLatin1String("no such device"))
            QFile(device).open(QIODevice::WriteOnly);
        session.link.state.DeviceOverride = device;
        session.options.BaudRate = QStringLiteral("9600");
        NumberTexts(session.texts);
        session.program.Reconfigure(24, 6, false);
        session.program.SetPhase(1, 1, 10, 20);
        if (fault == QLatin1String("port busy"))
            controller.failOpen(QStringLiteral("Device or resource busy"),
                                SerialLine::Opened::InUse);
        if (fault == QLatin1String("bad ?M reply"))
            controller.when("?M8C\r",
                            FakeController::bytes(TransferControllerScript::IdentReply(24, 10)));
        if (fault == QLatin1String("other type"))
            transfer = std::make_unique<TransferControllerScript>(controller, 8, 21);
        if (fault == QLatin1String("good") || fault == QLatin1String("NAK forever") ||
            fault == QLatin1String("hang-up at frame 5"))
            transfer = std::make_unique<TransferControllerScript>(controller, 24, 6);
        if (fault == QLatin1String("NAK forever"))
            controller.whenFrame(FakeController::nak());
        else if (transfer)
            controller.onWrite([this, fault](const QByteArray& written, FakeController& c) {
                if (!written.startsWith('\x02'))
                    return;
                // The controller goes away while the fifth frame is on its way.
                if (++frames == 5 && fault == QLatin1String("hang-up at frame 5"))
                    c.hangUp(QStringLiteral("the line hung up"));
                else
                    c.queue(FakeController::ack());
            });
        if (fault == QLatin1String("loader without ?M") || fault == QLatin1String("good loader"))
            loader.install(controller);
    }
    LinkContext context() { return session.linkContext(); }
};

// The window's core calls for one command: what its message box shows, empty when done.
Outcome windowOutcome(const QString& command, FaultyController& c, const QString& image) {
    RecordingProgressObserver shown;
    if (command == QLatin1String("flash")) {
        OutcomeRecorder recorder(c.context(), OutcomeRecorder::Exchange::Flash, shown);
        UpdateRun run(c.context(), recorder, image);
        run.setConfirmed(true);
        run.Run();
        return recorder.outcome();
    }
    OutcomeRecorder recorder(c.context(), OutcomeRecorder::Exchange::Transmission, shown);
    const TransmitSizesOutcome result =
        TransmitSizes(c.context(), c.session.program, QStringLiteral("MAIN"), nullptr,
                      [&] { return RunTransmission(c.context(), c.session.program, recorder); });
    return result.result == TransmitSizesResult::NotSent ? recorder.outcome() : result.outcome;
}

} // namespace

// Every fault through both faces, one row each: the window's core calls, and the command
// line's job on a line of one and on a line of two (the faulty target first, a good one
// after it) with its report. Each face must end alike: the same result, the same message and
// cause, the same exit status.
class TestFaultTable : public QObject {
    Q_OBJECT
private slots:
    void sameEndOnEveryPath_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("fault");
        QTest::addColumn<QString>("message"); // the first line of the window's box
        QTest::addColumn<QString>("cause");   // where and why, on every path
        QTest::addColumn<int>("status");      // q517-cli's exit status
        QTest::newRow("no such device") << "send"
                                        << "no such device"
                                        << "T51"
                                        << "opening: no such device" << 1;
        QTest::newRow("port busy") << "send"
                                   << "port busy"
                                   << "T51"
                                   << "opening: Device or resource busy" << 1;
        QTest::newRow("silent controller") << "send"
                                           << "silent"
                                           << "COMM ERROR"
                                           << "identifying (\"?M\"): no answer for 3 s" << 1;
        QTest::newRow("bad ?M reply")
            << "send"
            << "bad ?M reply"
            << "BAD comm"
            << "identifying (\"?M\"): the reply gives 24 cams and 10 formats, no known "
               "controller type"
            << 1;
        QTest::newRow("other type") << "send"
                                    << "other type"
                                    << "C8-21T71"
                                    << "identifying: the program is a C24-6" << 1;
        QTest::newRow("hang-up at frame 5") << "send"
                                            << "hang-up at frame 5"
                                            << "TIMEOUT SERIAL PORT "
                                            << "format 1, frame 5: the line hung up" << 1;
        QTest::newRow("NAK forever") << "send"
                                     << "NAK forever"
                                     << "TIMEOUT SERIAL PORT "
                                     << "frame 1: the frame was not confirmed by ACK" << 1;
        QTest::newRow("good") << "send"
                              << "good"
                              << ""
                              << "" << 0;
        // The update asks "?T" and ":FU" only, as its window does: no "?M" is needed.
        QTest::newRow("loader that answers no ?M") << "flash"
                                                   << "loader without ?M"
                                                   << ""
                                                   << "" << 0;
    }
    void sameEndOnEveryPath() {
        QFETCH(QString, command);
        QFETCH(QString, fault);
        QFETCH(QString, message);
        QFETCH(QString, cause);
        QFETCH(int, status);
        QTemporaryDir images;
        const QString image = images.filePath(QStringLiteral("firmware.hex"));
        QVERIFY(HexImages::Write(image, HexImages::Image(3)));

        FaultyController window(fault);
        const Outcome shown = windowOutcome(command, window, image);
        const QString device = window.session.link.state.DeviceOverride;
        QCOMPARE(shown.done(), status == 0);
        if (!shown.done()) {
            const QStringList lines = shown.text(window.session.texts).split(QLatin1Char('\n'));
            QCOMPARE(lines.value(0), message);
            QCOMPARE(lines.value(1), device + QStringLiteral(", ") + cause);
            // A program that broke off after its first frame is said to be incomplete.
            QCOMPARE(lines.contains(QStringLiteral("T340")),
                     fault == QLatin1String("hang-up at frame 5"));
        }

        for (const bool two : {false, true}) {
            QList<LineTarget> targets{LineTarget{0, fault}};
            if (two)
                targets.append(LineTarget{0, command == QLatin1String("flash")
                                                 ? QStringLiteral("good loader")
                                                 : QStringLiteral("good")});
            QString faultyDevice;
            LineRun run(EnglishTexts(), targets, [&](TargetContext& context) {
                FaultyController c(context.target().device);
                if (context.target().device == fault)
                    faultyDevice = c.session.link.state.DeviceOverride;
                if (command == QLatin1String("flash"))
                    return FlashImageJob(c.context(), c.prompts, context, image, 4, true);
                return SendProgramJob(c.context(), c.session.program, c.prompts, context);
            });
            run.run(nullptr, nullptr, 5);
            const QList<TargetStatus> statuses = run.statuses();
            QCOMPARE(LineExitStatus(statuses), status);
            const TargetStatus& s = statuses.first();
            QCOMPARE(s.result == Result::Ok, status == 0);
            if (status != 0) {
                QVERIFY2(s.cause.startsWith(message.simplified() + QStringLiteral(" (") +
                                            faultyDevice + QStringLiteral(", ") + cause + ')'),
                         qPrintable(s.cause));
            }
            if (two) {
                QCOMPARE(statuses.at(1).result, Result::Ok);
                // The report keeps each target's cause as the summary has it.
                const QJsonObject report =
                    QJsonDocument::fromJson(ReportJson({command, image, {}, 0}, statuses)).object();
                QCOMPARE(report.value(QStringLiteral("targets"))
                             .toArray()
                             .at(0)
                             .toObject()
                             .value(QStringLiteral("cause"))
                             .toString(),
                         s.cause);
            }
        }
    }
};

QTEST_GUILESS_MAIN(TestFaultTable)
#include "tst_faulttable.moc"

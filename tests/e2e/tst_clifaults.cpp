#include "model/CamFileWriter.h"
#include "model/CamProgram.h"
#include "support/CliRun.h"
#include "support/HexImages.h"
#include "support/SimProcess.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QTest>

namespace {

// What one path of q517-cli said about the faulty controller.
struct PathEnd {
    int status = -1;
    QString cause;
    bool shown = false; // its line was found in the output at all
};

// The faulty target's cause as printed: the summary's row for it ("NAME  TYPE  RESULT  SECONDS
// CAUSE") or, where a command prints its own result, "q517-cli: NAME: CAUSE" on stderr.
PathEnd shownEnd(const CliRun& run, const QString& name) {
    PathEnd end{run.status, QString(), false};
    const QRegularExpression row(QStringLiteral("^") + QRegularExpression::escape(name) +
                                 QStringLiteral(" +(?:\\S+ +)?(?:ok|different|failed|stopped) +"
                                                "[0-9.]+(?:  (.*))?$"));
    const QString own = QStringLiteral("q517-cli: ") + name + QStringLiteral(": ");
    for (const QString& line : (run.out + run.err).split(QLatin1Char('\n'))) {
        if (line.startsWith(own)) {
            end.cause = line.mid(own.size());
            end.shown = true;
        } else if (const QRegularExpressionMatch m = row.match(line); m.hasMatch()) {
            end.cause = m.captured(1);
            end.shown = true;
        }
    }
    return end;
}

QString writeProgram(const QString& path) {
    CamProgram p;
    p.Reconfigure(24, 6, false);
    p.SetPhase(1, 1, 30, 90);
    return WriteCamFile(p, path, false) ? path : QString();
}

} // namespace

// Every fault a controller on the line can show, through q517-cli against q517-sim: one
// target, and the same target first of two with --report. Both paths must end with the same
// exit status and give the same cause, in the summary and in the report alike.
class TestCliFaults : public QObject {
    Q_OBJECT
private slots:
    // In Italian, the language a fresh installation speaks.
    void samePathForOneOrTwo_data() {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QStringList>("fault"); // the faulty controller's own q517-sim options
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("cause"); // the where and why after its device, empty: done
        QTest::newRow("no such device")
            << "send" << QStringList{"absent"} << 1 << "apertura: dispositivo inesistente";
        QTest::newRow("port busy") << "send" << QStringList{"busy"} << 1
                                   << "apertura: Permission error while locking the device";
        QTest::newRow("silent controller") << "send" << QStringList{"--fault", "silent"} << 1
                                           << "identificazione (\"?M\"): nessuna risposta per 3 s";
        QTest::newRow("bad ?M reply")
            << "send" << QStringList{"--fault", "bad-reply"} << 1
            << "identificazione (\"?M\"): 6 risposte senza identificazione";
        QTest::newRow("other type") << "send" << QStringList{"--type", "08-21"} << 1
                                    << "identificazione: il programma è un C24-6";
        QTest::newRow("hang-up at frame 5") << "send" << QStringList{"--fault", "hangup-after=4"}
                                            << 1 << "formato 1, frame 5: la linea è caduta";
        QTest::newRow("NAK forever") << "send" << QStringList{"--fault", "nak-always"} << 1
                                     << "frame 1: il frame non è stato confermato con ACK";
        QTest::newRow("verify: hang-up at frame 5")
            << "verify" << QStringList{"--fault", "hangup-after=4"} << 2
            << "formato 1, frame 5: la linea è caduta";
        QTest::newRow("verify: bad ?M reply")
            << "verify" << QStringList{"--fault", "bad-reply"} << 2
            << "identificazione (\"?M\"): 6 risposte senza identificazione";
        QTest::newRow("flash: NAK forever") << "flash" << QStringList{"--fault", "nak-always"} << 1
                                            << "riga 1: nessun ACK per la riga";
        QTest::newRow("flash: hang-up at line 4")
            << "flash" << QStringList{"--fault", "hangup-after=3"} << 1
            << "riga 4: la linea è caduta";
        // The update asks "?T" and ":FU" only: a loader without "?M" is flashed as any other.
        QTest::newRow("flash: loader that answers no ?M")
            << "flash" << QStringList{"--fault", "no-ident"} << 0 << "";
    }
    void samePathForOneOrTwo() {
        QFETCH(QString, command);
        QFETCH(QStringList, fault);
        QFETCH(int, status);
        QFETCH(QString, cause);
        QTemporaryDir home;
        const QString plan = writeProgram(home.filePath("PLAN.CAM"));
        const QString image = home.filePath("IMG.hex");
        QVERIFY(!plan.isEmpty() && HexImages::Write(image, HexImages::Image(20)));
        const QString file = command == QLatin1String("flash") ? image : plan;
        const QString faulty = home.filePath("FAULTY");
        const QString good = home.filePath("GOOD");
        const bool absent = fault == QStringList{"absent"};
        const bool busy = fault == QStringList{"busy"};

        QList<PathEnd> ends;
        QString reported;
        for (const bool two : {false, true}) {
            // A fresh pair of controllers for each path: a hang-up leaves its line dead.
            QStringList simArgs{"--type", "24-06", "--erase-ms", "50"};
            if (!absent)
                simArgs += QStringList{"--link", faulty} + (busy ? QStringList() : fault);
            simArgs += QStringList{"--link", good, "--program", plan};
            SimProcess sim(simArgs, 10000, absent ? 1 : 2);
            QVERIFY2(sim.devicePaths().size() == (absent ? 1 : 2), qPrintable(sim.errorOutput()));
            // Another program holds the faulty controller's port.
            QSerialPort holder(faulty);
            if (busy)
                QVERIFY(holder.open(QIODevice::ReadWrite));

            QStringList args{command, file, "--device", faulty};
            const QString report = home.filePath("line.json");
            if (two)
                args += QStringList{"--device", good, "--report", report};
            if (command == QLatin1String("flash"))
                args += QStringLiteral("--yes");
            const CliRun run = CliRun::Run(args, home.path());
            ends.append(shownEnd(run, faulty));
            QVERIFY2(ends.last().shown == (status != 0 || command != QLatin1String("verify")),
                     qPrintable(run.out + run.err));
            if (two) {
                QFile json(report);
                QVERIFY(json.open(QIODevice::ReadOnly));
                const QJsonArray targets =
                    QJsonDocument::fromJson(json.readAll()).object().value("targets").toArray();
                QCOMPARE(targets.size(), 2);
                reported = targets.at(0).toObject().value("cause").toString();
                // Without a "?M" answer the report names no type.
                if (fault.contains(QStringLiteral("no-ident")))
                    QVERIFY(targets.at(0).toObject().value("type").isNull());
                QCOMPARE(targets.at(1).toObject().value("result").toString(), QStringLiteral("ok"));
            }
        }
        for (const PathEnd& end : std::as_const(ends)) {
            QCOMPARE(end.status, status);
            QCOMPARE(end.cause, reported);
        }
        if (status == 0)
            QCOMPARE(reported, QString());
        else
            QVERIFY2(reported.contains(faulty + QStringLiteral(", ") + cause + QLatin1Char(')')),
                     qPrintable(reported));
    }
};

QTEST_GUILESS_MAIN(TestCliFaults)
#include "tst_clifaults.moc"

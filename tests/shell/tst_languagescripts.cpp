#include "Q517Paths.h"
#include "model/LanguageTexts.h"
#include "shell/LanguageScripts.h"
#include "shell/Session.h"
#include "support/CliRun.h"

#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QLibraryInfo>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>

namespace {
// Texts that the program puts in front of a number or a name, and texts it appends to
// one: their blanks keep "FASI: 003" and "C24-28 : ..." readable.
const QList<int> kEndWithBlank{17, 21, 46, 48, 57, 73, 74, 82, 108, 118, 119};
const QList<int> kStartWithBlank{10, 25, 26, 71, 126};

const QStringList kScripts{QStringLiteral("q517_IT.SCR"), QStringLiteral("q517_EN.SCR"),
                           QStringLiteral("q517_DE.SCR")};

QString dataPath(const QString& name) {
    return QDir(QStringLiteral(Q517_SOURCE_DATA_DIR)).filePath(name);
}

QByteArray scriptBytes(const QString& name) {
    QFile file(dataPath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Every text number the program's code asks for: a text is always asked for as Text(n)
// with n written out, so that this list finds it. Any other argument outside the code that
// serves the texts is a fault of its own (a number this check cannot see).
struct UsedTexts {
    QSet<int> numbers;
    QStringList hidden; // "file: Text(argument)"
};

UsedTexts scanCode() {
    UsedTexts used;
    const QDir root(QStringLiteral(Q517_SOURCE_DATA_DIR "/.."));
    static const QRegularExpression call(QStringLiteral("\\bText\\(([^()]*)\\)"));
    static const QStringList servers{"src/model/LanguageTexts.h", "src/model/LanguageTexts.cpp",
                                     "src/shell/Session.h", "src/link/LinkContext.h",
                                     "tools/cli/checkscript.cpp"};
    for (const QString& folder : {QStringLiteral("src"), QStringLiteral("tools")}) {
        QDirIterator it(root.filePath(folder), {"*.cpp", "*.h"}, QDir::Files,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            QFile file(path);
            if (!file.open(QIODevice::ReadOnly))
                continue;
            const QString code = QString::fromUtf8(file.readAll());
            const QString relative = root.relativeFilePath(path);
            for (auto m = call.globalMatch(code); m.hasNext();) {
                const QString argument = m.next().captured(1).trimmed();
                bool number = false;
                const int n = argument.toInt(&number);
                if (number)
                    used.numbers.insert(n);
                else if (!servers.contains(relative))
                    used.hidden << relative + ": Text(" + argument + ")";
            }
        }
    }
    return used;
}
} // namespace

class TestLanguageScripts : public QObject {
    Q_OBJECT
private slots:
    void scripts_data() {
        QTest::addColumn<QString>("name");
        for (const QString& name : kScripts)
            QTest::newRow(qPrintable(name)) << name;
    }

    // Every number the code uses is in every script, not empty; the scripts use the same
    // numbers and agree on the blanks a text is joined by.
    void everyUsedTextIsThere_data() { scripts_data(); }
    void everyUsedTextIsThere() {
        QFETCH(QString, name);
        const UsedTexts used = scanCode();
        QVERIFY2(used.hidden.isEmpty(), qPrintable(used.hidden.join(", ")));
        QVERIFY(used.numbers.size() > 100);
        LanguageTexts texts, english;
        QVERIFY(texts.LoadLanguage(dataPath(name)));
        QVERIFY(english.LoadLanguage(dataPath(QStringLiteral("q517_EN.SCR"))));
        QVERIFY2(!texts.LanguageCode().isEmpty(), "the header names no language");
        for (int n : used.numbers) {
            QVERIFY2(n >= 2 && n <= LanguageTexts::Count, qPrintable(QString::number(n)));
            QVERIFY2(!texts.Text(n).trimmed().isEmpty(),
                     qPrintable(QString("text %1 is empty").arg(n)));
        }
        for (int n = 2; n <= LanguageTexts::Count; ++n) {
            const QString text = texts.Text(n), reference = english.Text(n);
            QVERIFY2(texts.Has(n) == english.Has(n),
                     qPrintable(QString("text %1 is used in one script only").arg(n)));
            QVERIFY2(text.endsWith(' ') == reference.endsWith(' '),
                     qPrintable(QString("text %1 \"%2\": trailing blank").arg(n).arg(text)));
            QVERIFY2(text.startsWith(' ') == reference.startsWith(' '),
                     qPrintable(QString("text %1 \"%2\": leading blank").arg(n).arg(text)));
            // A quote inside a text is kept; one at its edge is a quote typed twice.
            QVERIFY2(!text.startsWith('"') && !text.endsWith('"'),
                     qPrintable(QString("text %1 has a quote at its edge").arg(n)));
        }
        for (int n : kEndWithBlank)
            QVERIFY2(texts.Text(n).endsWith(' '), qPrintable(QString::number(n)));
        for (int n : kStartWithBlank)
            QVERIFY2(texts.Text(n).startsWith(' '), qPrintable(QString::number(n)));
        // The two questions that end in "'?" open the quote themselves.
        QVERIFY(texts.Text(2).endsWith('\''));
        QVERIFY(texts.Text(15).endsWith('\''));
        // The button caption keeps its access key.
        QVERIFY(texts.Text(138).contains('&'));
    }

    // Windows-1252 with CR LF: a header, one quoted line per text 2..Count, and one more line
    // break so that the last text is read too.
    void fileLayout_data() { scripts_data(); }
    void fileLayout() {
        QFETCH(QString, name);
        const QByteArray bytes = scriptBytes(name);
        QVERIFY(!bytes.isEmpty());
        QVERIFY(bytes.endsWith("\"\r\n\r\n"));
        constexpr int last = LanguageTexts::Count;
        QCOMPARE(bytes.count('\n'), last + 1);
        QCOMPARE(bytes.count('\r'), last + 1);
        QVERIFY(!bytes.contains("\r\r") && !bytes.contains('\0'));
        const QList<QByteArray> lines = bytes.left(bytes.size() - 4).split('\n');
        QCOMPARE(lines.size(), last);
        LanguageTexts texts;
        texts.LoadFromBytes(bytes);
        for (int n = 2; n <= last; ++n) {
            const QByteArray line = lines.at(n - 1).chopped(n < last ? 1 : 0);
            QVERIFY2(line.size() >= 2 && line.startsWith('"') && line.endsWith('"'),
                     qPrintable(QString("line %1").arg(n)));
            // Every byte must mean the same letter in Windows-1252 as on screen.
            for (const char c : line) {
                const auto b = static_cast<unsigned char>(c);
                QVERIFY2(b >= 0x20 && b != 0x81 && b != 0x8D && b != 0x8F && b != 0x90 && b != 0x9D,
                         qPrintable(QString("line %1 has byte %2").arg(n).arg(b)));
            }
        }
        QCOMPARE(texts.Text(500), QString());
        QVERIFY(!texts.Text(1).isEmpty());
    }

    void italianIsTheDefaultFoundFromAnEmptyWorkingDirectory() {
        QTemporaryDir work;
        const QString found = DataPaths::Find(QStringLiteral("q517_IT.SCR"), work.path());
        QVERIFY(!found.isEmpty());
        LanguageTexts texts;
        QVERIFY(texts.LoadLanguage(found));
        QCOMPARE(texts.Text(33), QStringLiteral("PROGRAMMATORE Q517"));
        QCOMPARE(texts.Text(74), QStringLiteral("FORMATO "));
        QCOMPARE(texts.Text(88), QString::fromUtf8("LIMITE DI VELOCITÀ"));
        // A script in the working directory comes first.
        QFile own(QDir(work.path()).filePath(QStringLiteral("q517_IT.SCR")));
        QVERIFY(own.open(QIODevice::WriteOnly));
        own.write("H\r\n\"own\"\r\n\r\n");
        own.close();
        QCOMPARE(DataPaths::Find(QStringLiteral("q517_IT.SCR"), work.path()), own.fileName());
        QCOMPARE(DataPaths::Find(QStringLiteral("NO_SUCH.SCR"), work.path()), QString());
        QCOMPARE(DataPaths::Find(work.path() + "/NO_SUCH.SCR", work.path()), QString());
        QCOMPARE(DataPaths::Find(QString(), work.path()), QString());
        // An old script lacking texts borrows them from the installed English one, never
        // from an English copy in the working directory.
        const QByteArray oldScript =
            "H\r\n\"own\"\r\n" + QByteArray("\"\"\r\n").repeated(137) + "\r\n";
        QFile oldEnglish(QDir(work.path()).filePath(QStringLiteral("q517_EN.SCR")));
        QVERIFY(oldEnglish.open(QIODevice::WriteOnly));
        oldEnglish.write(oldScript);
        oldEnglish.close();
        QVERIFY(own.open(QIODevice::WriteOnly));
        own.write(oldScript);
        own.close();
        QVERIFY(LanguageScripts::Load(texts, own.fileName()));
        QCOMPARE(texts.Text(2), QStringLiteral("own"));
        QCOMPARE(texts.Text(3), QStringLiteral("ERASE"));
    }

    // The toolkit's standard buttons speak the script's language; English and an unknown
    // language leave its own English words.
    void toolkitTranslation_data() {
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("cancel");
        QTest::newRow("German") << "de" << true << "Abbrechen";
        QTest::newRow("Italian") << "it" << true << "Annulla";
        QTest::newRow("English") << "en" << false << "Cancel";
        QTest::newRow("no language named") << "" << false << "Cancel";
        QTest::newRow("no translation for it") << "xx" << false << "Cancel";
    }
    void toolkitTranslation() {
        QFETCH(QString, code);
        QFETCH(bool, installed);
        QFETCH(QString, cancel);
        QCOMPARE(LanguageScripts::InstallToolkitTranslation(code), installed);
        QCOMPARE(QCoreApplication::translate("QPlatformTheme", "Cancel"), cancel);
    }

    // q517-cli check-script lists by number, with the English text, what a script lacks.
    void checkScript_data() {
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("out");
        QByteArray complete = scriptBytes(QStringLiteral("q517_EN.SCR"));
        QTest::newRow("the English script") << complete << 0 << "";
        QByteArray old = complete;
        old.replace("\"Erase all cams of size '\"", "\"\"");
        // A script of before the program's own words: the 138 texts every script has.
        QTest::newRow("an emptied text and no lines past 138")
            << old.left(old.indexOf("\"lists the texts a language script lacks")) + "\r\n"
            << 1
            << "  2  Erase all cams of size '\n139  lists the texts a language script lacks: "
               "those show in English\n";
    }
    void checkScript() {
        QFETCH(QByteArray, script);
        QFETCH(int, status);
        QFETCH(QString, out);
        QTemporaryDir home;
        QFile file(home.filePath("OLD.SCR"));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(script);
        file.close();
        const CliRun run = CliRun::Run({"check-script", file.fileName()}, home.path());
        QCOMPARE(run.status, status);
        if (status == 0)
            QCOMPARE(run.out, out);
        else
            QVERIFY2(run.out.startsWith(out), qPrintable(run.out));
        QCOMPARE(CliRun::Run({"check-script", home.filePath("NONE.SCR")}, home.path()).status, 1);
        QCOMPARE(CliRun::Run({"check-script"}, home.path()).status, 2);
    }
};

QTEST_GUILESS_MAIN(TestLanguageScripts)
#include "tst_languagescripts.moc"

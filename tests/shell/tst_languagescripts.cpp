#include "Q517Paths.h"
#include "model/LanguageTexts.h"
#include "shell/Session.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

namespace {
// Every text number some window, message or prompt of the program asks for.
const QList<int> kUsedTexts{
    2,   3,   4,   5,   6,   7,   8,   10,  11,  12,  15,  17,  20,  21,  22,  23,  24,  25,
    26,  27,  28,  32,  33,  42,  45,  46,  47,  48,  51,  52,  55,  57,  58,  59,  60,  63,
    71,  73,  74,  75,  76,  77,  78,  79,  80,  82,  83,  84,  85,  86,  87,  88,  108, 109,
    110, 111, 112, 113, 114, 118, 119, 120, 121, 122, 123, 125, 126, 127, 128, 129, 130, 131,
    132, 133, 134, 135, 136, 137, 138, 400, 401, 402, 403, 404, 405, 406, 407, 408, 409, 410};

// Texts that the program puts in front of a number or a name, and texts it appends to
// one: their blanks keep "FASI: 003" and "C24-28 : ..." readable.
const QList<int> kEndWithBlank{17, 21, 46, 48, 57, 73, 74, 82, 108, 118, 119};
const QList<int> kStartWithBlank{10, 25, 26, 71, 126};

QByteArray scriptBytes(const QString& name) {
    QFile file(QDir(QStringLiteral(Q517_SOURCE_DATA_DIR)).filePath(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

class TestLanguageScripts : public QObject {
    Q_OBJECT
private slots:
    void scripts_data() {
        QTest::addColumn<QString>("name");
        QTest::newRow("Italian") << "q517_IT.SCR";
        QTest::newRow("English") << "q517_EN.SCR";
    }

    void everyUsedTextIsThere_data() { scripts_data(); }
    void everyUsedTextIsThere() {
        QFETCH(QString, name);
        LanguageTexts texts;
        QVERIFY(texts.LoadLanguage(QDir(QStringLiteral(Q517_SOURCE_DATA_DIR)).filePath(name)));
        for (int n : kUsedTexts) {
            const QString text = texts.Text(n);
            QVERIFY2(!text.trimmed().isEmpty(), qPrintable(QString("text %1 is empty").arg(n)));
            QVERIFY2(text.endsWith(' ') == kEndWithBlank.contains(n),
                     qPrintable(QString("text %1 \"%2\": trailing blank").arg(n).arg(text)));
            QVERIFY2(text.startsWith(' ') == kStartWithBlank.contains(n),
                     qPrintable(QString("text %1 \"%2\": leading blank").arg(n).arg(text)));
            QVERIFY2(!text.contains('"'), qPrintable(QString("text %1 holds a quote").arg(n)));
        }
        // The two questions that end in "'?" open the quote themselves.
        QVERIFY(texts.Text(2).endsWith('\''));
        QVERIFY(texts.Text(15).endsWith('\''));
        // The button caption keeps its access key.
        QVERIFY(texts.Text(138).contains('&'));
    }

    // Windows-1252 with CR LF: a header, one quoted line per text 2..500, and one more line
    // break so that text 500 is read too.
    void fileLayout_data() { scripts_data(); }
    void fileLayout() {
        QFETCH(QString, name);
        const QByteArray bytes = scriptBytes(name);
        QVERIFY(!bytes.isEmpty());
        QVERIFY(bytes.endsWith("\"\r\n\r\n"));
        QCOMPARE(bytes.count('\n'), 501);
        QCOMPARE(bytes.count('\r'), 501);
        QVERIFY(!bytes.contains("\r\r") && !bytes.contains('\0'));
        const QList<QByteArray> lines = bytes.left(bytes.size() - 4).split('\n');
        QCOMPARE(lines.size(), 500);
        LanguageTexts texts;
        texts.LoadFromBytes(bytes);
        for (int n = 2; n <= 500; ++n) {
            const QByteArray line = lines.at(n - 1).chopped(n < 500 ? 1 : 0);
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
    }
};

QTEST_GUILESS_MAIN(TestLanguageScripts)
#include "tst_languagescripts.moc"

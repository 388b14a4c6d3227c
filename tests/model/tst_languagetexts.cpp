#include "model/LanguageTexts.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using TextMap = QMap<int, QString>;
Q_DECLARE_METATYPE(TextMap)

namespace {
// A script of lines joined by CR LF, each line (the last too) ended by one.
QByteArray script(const QList<QByteArray>& lines, const QByteArray& end = "\r\n") {
    QByteArray bytes;
    for (const QByteArray& line : lines)
        bytes += line + end;
    return bytes;
}

QList<QByteArray> quotedLines(int count) {
    QList<QByteArray> lines{"HEADER LINE"};
    for (int n = 2; n <= count; ++n)
        lines.append("\"text " + QByteArray::number(n) + "\"");
    return lines;
}
} // namespace

class TestLanguageTexts : public QObject {
    Q_OBJECT
private slots:
    void walk_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<TextMap>("expected"); // texts not listed must be empty
        QTest::newRow("New and Open")
            << script({"Q517 LANGUAGE", "\"New\"", "\"Open\""}, "\r\n") + "\r\n"
            << TextMap{{1, "Q517 LANGUAG"}, {2, "New"}, {3, "Open"}};
        QTest::newRow("last text line without a further line break")
            << script({"HEAD", "\"New\"", "\"Open\""}) << TextMap{{1, "HEA"}, {2, "New"}};
        QTest::newRow("last line without any line end")
            << script({"HEAD", "\"New\""}) + "\"Open\"" << TextMap{{1, "HEA"}, {2, "New"}};
        QTest::newRow("blanks inside the quotes stay")
            << script({"H", "\" C \"", "\"FASI: \""}) + "\r\n"
            << TextMap{{2, " C "}, {3, "FASI: "}};
        QTest::newRow("bare LF line ends") << script({"HEAD", "\"New\"", "\"Open\""}, "\n") + "\n"
                                           << TextMap{{1, "HEA"}, {2, "New"}, {3, "Open"}};
        QTest::newRow("empty texts between quotes") << script({"H", "\"\"", "\"Three\""}) + "\r\n"
                                                    << TextMap{{3, "Three"}};
        QTest::newRow("a blank line does not shift later texts")
            << script({"H", "", "\"Three\"", "\"Four\""}) + "\r\n"
            << TextMap{{3, "Three"}, {4, "Four"}};
        QTest::newRow("a lone quote is an empty text") << script({"H", "\"", "\"Three\""}) + "\r\n"
                                                       << TextMap{{3, "Three"}};
        QTest::newRow("Windows-1252 letters") << script({"H", "\"Velocit\xe0 \x80\""}) + "\r\n"
                                              << TextMap{{2, QString::fromUtf8("Velocità €")}};
        QTest::newRow("empty file") << QByteArray() << TextMap{};
        QTest::newRow("one character") << QByteArray("H") << TextMap{};
        QTest::newRow("header only") << QByteArray("HEAD\r\n\r\n") << TextMap{{1, "HEA"}};
    }
    void walk() {
        QFETCH(QByteArray, bytes);
        QFETCH(TextMap, expected);
        LanguageTexts texts;
        texts.LoadFromBytes(bytes);
        for (int n = 1; n <= LanguageTexts::Count; ++n)
            QCOMPARE(texts.Text(n), expected.value(n));
    }

    void onlyCountTexts_data() {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("lastText");
        constexpr int count = LanguageTexts::Count;
        QTest::newRow("100 lines too many fill all") << count + 100 << count;
        QTest::newRow("one line more and a last line break") << count + 1 << count;
        QTest::newRow("every line and a last line break") << count << count;
        QTest::newRow("one line short") << count - 1 << count - 1;
    }
    void onlyCountTexts() {
        QFETCH(int, lines);
        QFETCH(int, lastText);
        LanguageTexts texts;
        texts.LoadFromBytes(script(quotedLines(lines)) + "\r\n");
        QCOMPARE(texts.Text(1), QStringLiteral("HEADER LIN"));
        for (int n = 2; n <= LanguageTexts::Count; ++n)
            QCOMPARE(texts.Text(n), n <= lastText ? QStringLiteral("text %1").arg(n) : QString());
        QCOMPARE(texts.Text(0), QString());
        QCOMPARE(texts.Text(LanguageTexts::Count + 1), QString());
        QCOMPARE(texts.Text(-1), QString());
    }

    void loadingReplacesEveryText() {
        LanguageTexts texts;
        texts.LoadFromBytes(script(quotedLines(10)) + "\r\n");
        texts.LoadFromBytes(script({"H", "\"only two\""}) + "\r\n");
        QCOMPARE(texts.Text(2), QStringLiteral("only two"));
        QCOMPARE(texts.Text(3), QString());
        QCOMPARE(texts.Text(10), QString());
    }

    void loadsAFile() {
        QTemporaryDir dir;
        const QString path = dir.filePath("LANG.SCR");
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(script(QList<QByteArray>{"H", "\"Nuovo\"", "\"Apri\""} + quotedLines(135)) +
                   "\r\n");
        file.close();
        LanguageTexts texts;
        QVERIFY(texts.LoadLanguage(path));
        QCOMPARE(texts.Text(2), QStringLiteral("Nuovo"));
        QCOMPARE(texts.Text(3), QStringLiteral("Apri"));
    }

    // A customer's script written before some texts were added shows those in English; what
    // it gives itself, and its header, stay its own.
    void fallback_data() {
        QTest::addColumn<QByteArray>("own");
        QTest::addColumn<TextMap>("expected"); // texts not listed must be empty
        QTest::addColumn<QList<int>>("missing");
        QTest::newRow("a shorter script borrows the numbers past its end")
            << script({"H", "\"Nuovo\""}) + "\r\n"
            << TextMap{{1, ""}, {2, "Nuovo"}, {3, "Open"}, {5, "Five"}} << QList<int>{3, 5};
        QTest::newRow("an empty text is borrowed too")
            << script({"H", "\"\"", "\"Apri\""}) + "\r\n"
            << TextMap{{1, ""}, {2, "New"}, {3, "Apri"}, {5, "Five"}} << QList<int>{2, 5};
        QTest::newRow("a complete script borrows nothing")
            << script({"HEADER", "\"Nuovo\"", "\"Apri\"", "\"Quattro\"", "\"Cinque\""}) + "\r\n"
            << TextMap{{1, "HEADE"}, {2, "Nuovo"}, {3, "Apri"}, {4, "Quattro"}, {5, "Cinque"}}
            << QList<int>{};
    }
    void fallback() {
        QFETCH(QByteArray, own);
        QFETCH(TextMap, expected);
        QFETCH(QList<int>, missing);
        LanguageTexts english;
        english.LoadFromBytes(
            script({"ENGLISH HEADER", "\"New\"", "\"Open\"", "\"\"", "\"Five\""}) + "\r\n");
        LanguageTexts texts;
        texts.LoadFromBytes(own);
        QCOMPARE(texts.MissingFrom(english), missing);
        texts.SetFallback(english);
        for (int n = 1; n <= LanguageTexts::Count; ++n)
            QCOMPARE(texts.Text(n), expected.value(n));
        // Loading another script keeps the fallback: it belongs to the program, not the script.
        texts.LoadFromBytes(script({"H"}) + "\r\n");
        QCOMPARE(texts.Text(2), QStringLiteral("New"));
    }

    // The header names the script's language in brackets at its end; the toolkit's own
    // buttons follow it.
    void languageCode_data() {
        QTest::addColumn<QByteArray>("header");
        QTest::addColumn<QString>("code");
        QTest::newRow("German") << QByteArray("Q517 Sprachskript: Deutsch [de]") << "de";
        QTest::newRow("with a region") << QByteArray("Q517 script: Portugues [pt_BR]") << "pt_BR";
        QTest::newRow("blanks after it") << QByteArray("Q517 script [it]  ") << "it";
        QTest::newRow("an older script names none")
            << QByteArray("Q517 script di lingua: Italiano") << "";
        QTest::newRow("brackets not at the end") << QByteArray("Q517 [de] script") << "";
        QTest::newRow("not a language code") << QByteArray("Q517 script [v2.5]") << "";
    }
    void languageCode() {
        QFETCH(QByteArray, header);
        QFETCH(QString, code);
        LanguageTexts texts;
        texts.LoadFromBytes(script({header, "\"New\""}) + "\r\n");
        QCOMPARE(texts.LanguageCode(), code);
        QCOMPARE(texts.Text(2), QStringLiteral("New"));
    }

    // A script that is missing, or no file to read (a FIFO would block the start-up), is
    // refused with the reason and leaves every text empty.
    void missingFileLeavesEveryTextEmpty_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("why");
        QTest::newRow("missing") << "NONE.SCR"
                                 << "No such file or directory";
        QTest::newRow("a FIFO") << "FIFO.SCR"
                                << "a FIFO, not a regular file";
        QTest::newRow("above 1 MiB") << "BIG.SCR"
                                     << "larger than the limit of 1 MiB";
        // A garbage window title comes from a file that is no script at all.
        QTest::newRow("empty") << "EMPTY.SCR"
                               << "0 texts, fewer than the 138 every script has";
        QTest::newRow("one text short") << "SHORT.SCR"
                                        << "137 texts, fewer than the 138 every script has";
        QTest::newRow("binary") << "BINARY.SCR"
                                << "not text: byte 4 is 0x00";
    }
    void missingFileLeavesEveryTextEmpty() {
        QFETCH(QString, name);
        QFETCH(QString, why);
        QTemporaryDir dir;
        QCOMPARE(mkfifo(QFile::encodeName(dir.filePath("FIFO.SCR")).constData(), 0600), 0);
        QFile big(dir.filePath("BIG.SCR"));
        QVERIFY(big.open(QIODevice::WriteOnly) && big.resize(1024 * 1024 + 1));
        big.close();
        for (const auto& [file, bytes] :
             {std::pair<const char*, QByteArray>{"EMPTY.SCR", QByteArray()},
              {"SHORT.SCR", script(quotedLines(137)) + "\r\n"},
              {"BINARY.SCR", QByteArray("HEA\0\r\n", 6) + script(quotedLines(200)) + "\r\n"}}) {
            QFile f(dir.filePath(file));
            QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
        }
        LanguageTexts texts;
        texts.LoadFromBytes(script(quotedLines(10)) + "\r\n");
        QString error;
        QVERIFY(!texts.LoadLanguage(dir.filePath(name), &error));
        QCOMPARE(error, why);
        for (int n = 1; n <= LanguageTexts::Count; ++n)
            QCOMPARE(texts.Text(n), QString());
    }
};

QTEST_GUILESS_MAIN(TestLanguageTexts)
#include "tst_languagetexts.moc"

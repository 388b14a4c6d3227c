#include "model/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

class TestTextFile : public QObject {
    Q_OBJECT
private slots:
    void windows1252_data() {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("text");
        QTest::newRow("plain") << QByteArray("FORMATO N. 01") << "FORMATO N. 01";
        QTest::newRow("euro and quotes")
            << QByteArray("\x80 \x93x\x94") << QString::fromUtf8("€ “x”");
        QTest::newRow("Latin-1 half")
            << QByteArray("VELOCIT\xc0 citt\xe0 \xff") << QString::fromUtf8("VELOCITÀ città ÿ");
        QTest::newRow("the high controls")
            << QByteArray("\x8a\x8c\x8e\x9a\x9c\x9e\x9f") << QString::fromUtf8("ŠŒŽšœžŸ");
        QTest::newRow("undefined codes keep their value")
            << QByteArray("\x81\x8d\x8f\x90\x9d")
            << QString(QChar(0x81)) + QChar(0x8D) + QChar(0x8F) + QChar(0x90) + QChar(0x9D);
        QTest::newRow("control characters pass") << QByteArray("\x02"
                                                               "END\x03",
                                                               5)
                                                 << QString("\x02"
                                                            "END\x03");
    }
    void windows1252() {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, text);
        QCOMPARE(TextFile::DecodeCp1252(bytes), text);
        QCOMPARE(TextFile::EncodeCp1252(text), bytes);
    }

    void everyByteSurvivesTheRoundTrip() {
        QByteArray all;
        for (int b = 0; b < 256; ++b)
            all += char(b);
        QCOMPARE(TextFile::EncodeCp1252(TextFile::DecodeCp1252(all)), all);
    }

    void charactersOutsideBecomeQuestionMarks() {
        QCOMPARE(TextFile::EncodeCp1252(QString::fromUtf8("Ω→日")), QByteArray("???"));
    }

    void splitLines_data() {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("lines");
        QTest::newRow("CR LF") << "A\r\nB\r\n" << QStringList{"A", "B"};
        QTest::newRow("LF") << "A\nB\n" << QStringList{"A", "B"};
        QTest::newRow("mixed") << "A\r\nB\nC\r\n" << QStringList{"A", "B", "C"};
        QTest::newRow("last line without end") << "A\r\nB" << QStringList{"A", "B"};
        QTest::newRow("empty lines stay") << "A\r\n\r\nB\r\n" << QStringList{"A", "", "B"};
        QTest::newRow("lone CR is text") << "A\rB\r\n" << QStringList{"A\rB"};
        QTest::newRow("nothing") << "" << QStringList{};
    }
    void splitLines() {
        QFETCH(QString, text);
        QFETCH(QStringList, lines);
        QCOMPARE(TextFile::SplitLines(text), lines);
    }

    void writesCrLfInWindows1252() {
        QTemporaryDir dir;
        const QString path = dir.filePath("OUT.TXT");
        QVERIFY(TextFile::WriteLines(path, {"FUNZIONI 24-06", QString::fromUtf8("città"), ""}));
        QByteArray bytes;
        QVERIFY(TextFile::ReadAll(path, bytes));
        QCOMPARE(bytes, QByteArray("FUNZIONI 24-06\r\ncitt\xe0\r\n\r\n"));
    }

    void failedWriteSaysWhy_data() {
        QTest::addColumn<QString>("where");
        QTest::newRow("missing folder") << "sub/OUT.TXT";
        QTest::newRow("a folder in the way") << "folder";
    }
    void failedWriteSaysWhy() {
        QFETCH(QString, where);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir("folder"));
        QString why;
        QVERIFY(!TextFile::WriteLines(dir.filePath(where), {"x"}, &why));
        QVERIFY(!why.isEmpty());
        QVERIFY(QFileInfo(dir.filePath("folder")).isDir());
    }

    void readingAMissingFileSaysWhy() {
        QTemporaryDir dir;
        QByteArray bytes = "left";
        QString why;
        QVERIFY(!TextFile::ReadAll(dir.filePath("NONE"), bytes, &why));
        QVERIFY(!why.isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestTextFile)
#include "tst_textfile.moc"

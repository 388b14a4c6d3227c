#include "model/FileAccess.h"
#include "support/EnglishTexts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestFileAccess : public QObject {
    Q_OBJECT
private slots:
    // Only regular files of a bounded size are read; anything else is refused at once (a
    // FIFO without a writer would block, /dev/zero would never end).
    void readsOnlyBoundedRegularFiles_data() {
        QTest::addColumn<QString>("name"); // in a fresh directory, or an absolute path
        QTest::addColumn<qint64>("size");  // of "FILE", made sparse
        QTest::addColumn<QString>("why");  // empty: read
        QTest::addColumn<QString>("italian");
        QTest::newRow("at the limit") << "FILE" << FileAccess::TextLimit << ""
                                      << "";
        QTest::newRow("one byte above")
            << "FILE" << FileAccess::TextLimit + 1 << "larger than the limit of 1 MiB"
            << "più grande del limite di 1 MiB";
        QTest::newRow("a FIFO") << "FIFO" << 0LL << "a FIFO, not a regular file"
                                << "una FIFO, non un file regolare";
        QTest::newRow("/dev/zero") << "/dev/zero" << 0LL << "a character device, not a regular file"
                                   << "un dispositivo a caratteri, non un file regolare";
        QTest::newRow("a directory") << "." << 0LL << "a directory, not a regular file"
                                     << "una cartella, non un file regolare";
        QTest::newRow("missing") << "NONE" << 0LL << "No such file or directory"
                                 << "No such file or directory";
    }
    void readsOnlyBoundedRegularFiles() {
        QFETCH(QString, name);
        QFETCH(qint64, size);
        QFETCH(QString, why);
        QTemporaryDir dir;
        QFile file(dir.filePath(QStringLiteral("FILE")));
        QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(size));
        file.close();
        QCOMPARE(mkfifo(QFile::encodeName(dir.filePath(QStringLiteral("FIFO"))).constData(), 0600),
                 0);
        QByteArray bytes;
        QString error;
        const QString path = name.startsWith(QLatin1Char('/')) ? name : dir.filePath(name);
        const bool read = FileAccess::ReadInput(path, FileAccess::TextLimit, bytes, &error);
        QCOMPARE(read, why.isEmpty());
        QCOMPARE(error, why);
        QFETCH(QString, italian);
        QCOMPARE(FileAccess::LocalCause(error, ItalianTexts()), italian);
        if (read)
            QCOMPARE(bytes.size(), size);
    }

    void printable_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<QString>("shown");
        QTest::newRow("plain") << "C 30\"FEEDER\""
                               << "C 30\"FEEDER\"";
        QTest::newRow("a title escape") << "C 30\x1b]0;owned\x07"
                                        << "C 30\\x1b]0;owned\\x07";
        QTest::newRow("NUL and DEL") << QString::fromLatin1("A\0B\x7f", 4) << "A\\x00B\\x7f";
        QTest::newRow("a C1 control") << QString(QChar(0x9B)) + "2J"
                                      << "\\x9b2J";
        QTest::newRow("Windows-1252 letters stay")
            << QString::fromUtf8("città €") << QString::fromUtf8("città €");
        QTest::newRow("cut at 120")
            << QString(130, QLatin1Char('7')) << QString(120, QLatin1Char('7')) + "...";
        QTest::newRow("120 exactly")
            << QString(120, QLatin1Char('7')) << QString(120, QLatin1Char('7'));
    }
    void printable() {
        QFETCH(QString, line);
        QFETCH(QString, shown);
        QCOMPARE(FileAccess::Printable(line), shown);
    }
};

QTEST_GUILESS_MAIN(TestFileAccess)
#include "tst_fileaccess.moc"

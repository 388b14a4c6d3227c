#include "flash/HexFileChoice.h"

#include "support/TestSession.h"

#include <QDir>
#include <QTest>

class TestHexFileChoice : public QObject {
    Q_OBJECT
private slots:
    void titleLength_data();
    void titleLength();
    void dialogSetUpFromTheLastChoice();
    void cancelEmptiesThePath_data();
    void cancelEmptiesThePath();
    void currentDirectoryRestored();
};

void TestHexFileChoice::titleLength_data() {
    QTest::addColumn<int>("length");
    QTest::addColumn<bool>("opens");
    QTest::newRow("249 characters") << 249 << true;
    QTest::newRow("250 characters") << 250 << false;
    QTest::newRow("short") << 8 << true;
}

void TestHexFileChoice::titleLength() {
    QFETCH(int, length);
    QFETCH(bool, opens);
    TestSession t;
    HexFileMemory memory;
    const QString name = QString(length - 4, QLatin1Char('f')) + QStringLiteral(".hex");
    const QString path = t.path(name);
    t.dialogs.chooseNextFile(path);
    QCOMPARE(
        HexFileChoice::ChooseHexFile(t.session.dialog, t.session.prompts, t.session.texts, memory),
        opens);
    QCOMPARE(memory.HexFilePath, path);
    QCOMPARE(memory.HexLastDirectory, opens ? t.dir.path() + QLatin1Char('/') : QString());
}

void TestHexFileChoice::dialogSetUpFromTheLastChoice() {
    TestSession t;
    HexFileMemory memory;
    const QString first = t.path(QStringLiteral("first.hex"));
    t.dialogs.chooseNextFile(first);
    QVERIFY(
        HexFileChoice::ChooseHexFile(t.session.dialog, t.session.prompts, t.session.texts, memory));
    t.session.dialog.InitDir = QStringLiteral("/elsewhere");
    t.dialogs.chooseNextFile(t.path(QStringLiteral("second.hex")));
    QVERIFY(
        HexFileChoice::ChooseHexFile(t.session.dialog, t.session.prompts, t.session.texts, memory));

    QCOMPARE(t.dialogs.titles, (QStringList{"T11", "T11"}));
    QCOMPARE(t.dialogs.filters.last(),
             QStringLiteral("File Absolute HEX(*.hex)|*.hex|T73(*.*)|*.*"));
    QCOMPARE(t.dialogs.initialNames, (QStringList{QString(), first}));
    QCOMPARE(t.session.dialog.InitDir, t.dir.path() + QLatin1Char('/'));
    QCOMPARE(t.dialogs.saveDialogs, (QList<bool>{false, false}));
    QCOMPARE(memory.HexFilePath, t.path(QStringLiteral("second.hex")));
}

void TestHexFileChoice::cancelEmptiesThePath_data() {
    QTest::addColumn<bool>("cancelError");
    QTest::newRow("plain cancel") << false;
    QTest::newRow("cancel raised as an error") << true;
}

void TestHexFileChoice::cancelEmptiesThePath() {
    QFETCH(bool, cancelError);
    TestSession t;
    HexFileMemory memory{t.path(QStringLiteral("old.hex")), t.dir.path() + QLatin1Char('/')};
    t.session.dialog.CancelError = cancelError;
    t.dialogs.chooseNextFile(QString());
    QVERIFY(!HexFileChoice::ChooseHexFile(t.session.dialog, t.session.prompts, t.session.texts,
                                          memory));
    QCOMPARE(memory.HexFilePath, QString());
    QCOMPARE(memory.HexLastDirectory, t.dir.path() + QLatin1Char('/'));
}

void TestHexFileChoice::currentDirectoryRestored() {
    // A platform dialog may leave the process in the folder the operator browsed to.
    struct WanderingDialog : FakeCommonDialogBackend {
        bool chooseFile(bool save, const CommonDialog& request, FileChoice& choice,
                        int32_t& error) override {
            QDir::setCurrent(QDir::rootPath());
            return FakeCommonDialogBackend::chooseFile(save, request, choice, error);
        }
    } wandering;
    TestSession t;
    t.session.dialog.setBackend(wandering);
    HexFileMemory memory;
    const QString before = QDir::currentPath();
    QVERIFY(QDir::setCurrent(t.dir.path()));
    const QString inside = QDir::currentPath();
    wandering.chooseNextFile(t.path(QStringLiteral("x.hex")));
    const bool chosen =
        HexFileChoice::ChooseHexFile(t.session.dialog, t.session.prompts, t.session.texts, memory);
    const QString after = QDir::currentPath();
    QDir::setCurrent(before);
    QVERIFY(chosen);
    QCOMPARE(after, inside);
}

QTEST_GUILESS_MAIN(TestHexFileChoice)
#include "tst_hexfilechoice.moc"

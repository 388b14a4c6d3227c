#include "dialogs/CommonDialog.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <functional>

namespace {
// A backend whose every dialog is cancelled with a given platform error, or confirmed with
// a given file; it records the directory each file dialog was opened in.
class ScriptedBackend : public CommonDialogBackend {
public:
    bool confirm = false;
    int32_t cancelError = 0;
    QString chosenPath;
    int chosenFilter = 1;
    QString wanderTo; // a file dialog that changes the current directory
    PrinterChoice printer;
    int calls = 0;

    bool chooseFile(bool, const CommonDialog&, FileChoice& choice, int32_t& error) override {
        ++calls;
        if (!wanderTo.isEmpty())
            QDir::setCurrent(wanderTo);
        choice.path = chosenPath;
        choice.filterIndex = chosenFilter;
        return answer(error);
    }
    bool choosePrinter(const CommonDialog&, PrinterChoice& choice, int32_t& error) override {
        ++calls;
        choice = printer;
        return answer(error);
    }

private:
    bool answer(int32_t& error) {
        error = confirm ? 0 : cancelError;
        return confirm;
    }
};

using Show = std::function<bool(CommonDialog&)>;
} // namespace

Q_DECLARE_METATYPE(Show)

class TestCommonDialog : public QObject {
    Q_OBJECT
private slots:
    void defaults() {
        ScriptedBackend backend;
        CommonDialog dialog(backend);
        QCOMPARE(dialog.DialogTitle, QString());
        QCOMPARE(dialog.CancelError, false);
        QCOMPARE(dialog.Flags, 0u);
        QCOMPARE(dialog.FileName, QString());
        QCOMPARE(dialog.FileTitle(), QString());
        QCOMPARE(dialog.FilterIndex, 0);
        QCOMPARE(int(dialog.MaxFileSize()), 256);
        QCOMPARE(dialog.ExtendedError(), 0);
        QCOMPARE(dialog.hdc(), quintptr(0));
        QCOMPARE(int(dialog.Copies()), 0);
        QVERIFY(dialog.Parent == nullptr);
    }

    void cancelContract_data() {
        QTest::addColumn<Show>("show");
        QTest::addColumn<bool>("fileDialog");
        QTest::addColumn<QString>("source");
        QTest::newRow("open") << Show([](CommonDialog& d) { return d.ShowOpen(); }) << true
                              << "FileOpenDialog";
        QTest::newRow("save") << Show([](CommonDialog& d) { return d.ShowSave(); }) << true
                              << "FileSaveDialog";
        QTest::newRow("printer") << Show([](CommonDialog& d) { return d.ShowPrinter(); }) << false
                                 << "PrintDialog";
    }
    void cancelContract() {
        QFETCH(Show, show);
        QFETCH(bool, fileDialog);
        QFETCH(QString, source);
        ScriptedBackend backend;
        backend.cancelError = 0x3002;
        CommonDialog dialog(backend);

        // Without CancelError the cancel is only the returned false.
        dialog.FileName = "/plans/PRESET.CAM";
        QVERIFY(!show(dialog));
        QCOMPARE(dialog.ExtendedError(), 0x3002);
        QCOMPARE(dialog.FileName, fileDialog ? QString() : QStringLiteral("/plans/PRESET.CAM"));

        // With CancelError the cancel is raised, named after its dialog.
        dialog.CancelError = true;
        dialog.FileName = "/plans/PRESET.CAM";
        backend.cancelError = 0;
        bool raised = false;
        try {
            show(dialog);
        } catch (const CommonDialogCancel& cancel) {
            raised = true;
            QCOMPARE(cancel.number(), 32755);
            QCOMPARE(cancel.description(), QStringLiteral("Cancel."));
            QCOMPARE(QString::fromLatin1(cancel.what()), QStringLiteral("Cancel."));
            QCOMPARE(cancel.source(), source);
        }
        QVERIFY(raised);
        QCOMPARE(dialog.ExtendedError(), 0);
        QCOMPARE(dialog.FileName, fileDialog ? QString() : QStringLiteral("/plans/PRESET.CAM"));
        QCOMPARE(backend.calls, 2);

        // A confirmed dialog raises nothing and clears the last error.
        dialog.CancelError = false;
        backend.cancelError = 0x3002;
        show(dialog);
        QCOMPARE(dialog.ExtendedError(), 0x3002);
        dialog.CancelError = true;
        backend.confirm = true;
        backend.chosenPath = "/plans/NEW.CAM";
        QVERIFY(show(dialog));
        QCOMPARE(dialog.ExtendedError(), 0);
    }

    void fileDialogResults_data() {
        QTest::addColumn<QString>("returned");
        QTest::addColumn<int>("maxFileSize");
        QTest::addColumn<bool>("confirmed");
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QString>("fileTitle");
        QTest::newRow("plain path") << "/plans/LINE2.CAM" << 256 << true << "/plans/LINE2.CAM"
                                    << "LINE2.CAM";
        QTest::newRow("ends at the first zero")
            << QStringLiteral("/plans/A.CAM") + QChar(0) + "junk" << 256 << true << "/plans/A.CAM"
            << "A.CAM";
        QTest::newRow("path filling the buffer") << "/" + QString(254, 'x') << 256 << true
                                                 << "/" + QString(254, 'x') << QString(254, 'x');
        QTest::newRow("path longer than the buffer fails")
            << "/" + QString(255, 'x') << 256 << false << QString() << QString();
        QTest::newRow("the start-up buffer holds long paths")
            << "/" + QString(1000, 'y') << 2048 << true << "/" + QString(1000, 'y')
            << QString(1000, 'y');
    }
    void fileDialogResults() {
        QFETCH(QString, returned);
        QFETCH(int, maxFileSize);
        QFETCH(bool, confirmed);
        QFETCH(QString, fileName);
        QFETCH(QString, fileTitle);
        ScriptedBackend backend;
        backend.confirm = true;
        backend.chosenPath = returned;
        backend.chosenFilter = 2;
        CommonDialog dialog(backend);
        dialog.setMaxFileSize(int16_t(maxFileSize));
        dialog.FileName = "/old.CAM";
        QCOMPARE(dialog.ShowOpen(), confirmed);
        QCOMPARE(dialog.FileName, fileName);
        QCOMPARE(dialog.FileTitle(), fileTitle);
        QCOMPARE(dialog.FilterIndex, confirmed ? 2 : 0);
        QCOMPARE(dialog.ExtendedError(), confirmed ? 0 : 0x3003);
    }

    void maxFileSizeBelowOneMeans255_data() {
        QTest::addColumn<int>("set");
        QTest::addColumn<int>("read");
        QTest::newRow("0") << 0 << 255;
        QTest::newRow("-4") << -4 << 255;
        QTest::newRow("1") << 1 << 1;
        QTest::newRow("2048") << 2048 << 2048;
    }
    void maxFileSizeBelowOneMeans255() {
        QFETCH(int, set);
        QFETCH(int, read);
        ScriptedBackend backend;
        CommonDialog dialog(backend);
        dialog.setMaxFileSize(int16_t(set));
        QCOMPARE(int(dialog.MaxFileSize()), read);
    }

    void fileDialogRestoresTheCurrentDirectory() {
        QTemporaryDir start, elsewhere;
        const QString before = QDir::currentPath();
        QVERIFY(QDir::setCurrent(start.path()));
        ScriptedBackend backend;
        backend.confirm = true;
        backend.chosenPath = elsewhere.filePath("X.CAM");
        backend.wanderTo = elsewhere.path();
        CommonDialog dialog(backend);
        QVERIFY(dialog.ShowSave());
        const QString after = QDir::currentPath();
        QDir::setCurrent(before);
        QCOMPARE(QDir(after).canonicalPath(), QDir(start.path()).canonicalPath());
    }

    void copies_data() {
        QTest::addColumn<int>("set");
        QTest::addColumn<uint>("flags");
        QTest::addColumn<int>("read");
        const uint driverCopies = 0x00040000;
        QTest::newRow("3 copies") << 3 << 0u << 3;
        QTest::newRow("below 1 stored as 0") << -2 << 0u << 0;
        QTest::newRow("driver copies read 1") << 3 << driverCopies << 1;
        QTest::newRow("driver copies read 1 from 0") << 0 << driverCopies << 1;
        QTest::newRow("other flags leave copies") << 4 << 0x00000010u << 4;
        QTest::newRow("driver flag among others") << 4 << (driverCopies | 0x104u) << 1;
    }
    void copies() {
        QFETCH(int, set);
        QFETCH(uint, flags);
        QFETCH(int, read);
        ScriptedBackend backend;
        CommonDialog dialog(backend);
        dialog.setCopies(int16_t(set));
        dialog.Flags = flags;
        QCOMPARE(int(dialog.Copies()), read);
        // Only the reading depends on the flag: the stored number comes back without it.
        dialog.Flags = 0;
        QCOMPARE(int(dialog.Copies()), set < 1 ? 0 : set);
    }

    void printerResults() {
        ScriptedBackend backend;
        backend.confirm = true;
        backend.printer.copies = 2;
        backend.printer.flags = 0x10;
        backend.printer.hdc = 42;
        CommonDialog dialog(backend);
        QVERIFY(dialog.ShowPrinter());
        QCOMPARE(int(dialog.Copies()), 2);
        QCOMPARE(dialog.Flags, 0x10u);
        QCOMPARE(dialog.hdc(), quintptr(42));
    }

    void filterPairs_data() {
        QTest::addColumn<QString>("filter");
        QTest::addColumn<QStringList>("flat");
        QTest::newRow("hex and all")
            << "File Absolute HEX(*.hex)|*.hex|All Files (*.*)|*.*"
            << QStringList{"File Absolute HEX(*.hex)", "*.hex", "All Files (*.*)", "*.*"};
        QTest::newRow("one pair") << "Cam (*.Cam)|*.cam" << QStringList{"Cam (*.Cam)", "*.cam"};
        QTest::newRow("trailing description without pattern")
            << "Cam|*.cam|Orphan" << QStringList{"Cam", "*.cam"};
        QTest::newRow("empty") << "" << QStringList{};
    }
    void filterPairs() {
        QFETCH(QString, filter);
        QFETCH(QStringList, flat);
        ScriptedBackend backend;
        CommonDialog dialog(backend);
        dialog.Filter = filter;
        QStringList got;
        for (const auto& entry : dialog.FilterEntries())
            got << entry.description << entry.pattern;
        QCOMPARE(got, flat);
    }
};

QTEST_GUILESS_MAIN(TestCommonDialog)
#include "tst_commondialog.moc"

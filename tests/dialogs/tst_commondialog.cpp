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
    bool chooseColor(const CommonDialog&, int32_t& color, int32_t& error) override {
        ++calls;
        color = 0x123456;
        return answer(error);
    }
    bool chooseFont(const CommonDialog&, FontChoice& choice, int32_t& error) override {
        ++calls;
        choice.name = "Mono";
        return answer(error);
    }
    bool showHelp(const CommonDialog&, int32_t& error) override {
        ++calls;
        return answer(error);
    }

private:
    bool answer(int32_t& error) {
        error = confirm ? 0 : cancelError;
        return confirm;
    }
};

using Show = std::function<bool(CommonDialog&)>;
using Steps = QList<QPair<QString, int>>;
} // namespace

Q_DECLARE_METATYPE(Show)
Q_DECLARE_METATYPE(Steps)

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
        QCOMPARE(int(dialog.Min()), 0);
        QCOMPARE(int(dialog.Max()), 0);
        QCOMPARE(int(dialog.FromPage()), 0);
        QCOMPARE(int(dialog.ToPage()), 0);
        QCOMPARE(dialog.Color, 0);
        QCOMPARE(int(dialog.FontSize), 0);
        QCOMPARE(dialog.FontBold, false);
        QCOMPARE(dialog.HelpCommand, 0);
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
        QTest::newRow("color") << Show([](CommonDialog& d) { return d.ShowColor(); }) << false
                               << "ColorDialog";
        QTest::newRow("font") << Show([](CommonDialog& d) { return d.ShowFont(); }) << false
                              << "FontDialog";
        QTest::newRow("help") << Show([](CommonDialog& d) { return d.ShowHelp(); }) << false
                              << "HelpDialog";
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
        dialog.Color = 7;
        QVERIFY(!show(dialog));
        QCOMPARE(dialog.ExtendedError(), 0x3002);
        QCOMPARE(dialog.FileName, fileDialog ? QString() : QStringLiteral("/plans/PRESET.CAM"));
        QCOMPARE(dialog.Color, 7);

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

    void pageRangeIsPushed_data() {
        // Each row sets the four values in the order given as (property, value) pairs.
        QTest::addColumn<Steps>("steps");
        QTest::addColumn<QList<int>>("minFromToMax");
        QTest::newRow("Max 5 after ToPage 8 lowers ToPage")
            << Steps{{"ToPage", 8}, {"Max", 5}} << QList<int>{0, 0, 5, 5};
        QTest::newRow("Min 3 raises FromPage 1")
            << Steps{{"FromPage", 1}, {"ToPage", 4}, {"Max", 9}, {"Min", 3}}
            << QList<int>{3, 3, 4, 9};
        QTest::newRow("Min above ToPage and Max pushes both")
            << Steps{{"FromPage", 1}, {"ToPage", 4}, {"Max", 6}, {"Min", 7}}
            << QList<int>{7, 7, 7, 7};
        QTest::newRow("FromPage above ToPage raises ToPage and Max")
            << Steps{{"Max", 5}, {"ToPage", 2}, {"FromPage", 8}} << QList<int>{0, 8, 8, 8};
        QTest::newRow("ToPage below FromPage lowers FromPage and Min")
            << Steps{{"Min", 4}, {"FromPage", 6}, {"Max", 9}, {"ToPage", 2}}
            << QList<int>{2, 2, 2, 9};
        QTest::newRow("Max below Min lowers all")
            << Steps{{"Min", 4}, {"Max", 10}, {"Max", 3}} << QList<int>{3, 3, 3, 3};
        QTest::newRow("values below 1 are stored as 0")
            << Steps{{"FromPage", -5}, {"ToPage", 0}, {"Min", -1}} << QList<int>{0, 0, 0, 0};
        QTest::newRow("Max 0 lowers everything")
            << Steps{{"FromPage", 2}, {"ToPage", 5}, {"Max", 0}} << QList<int>{0, 0, 0, 0};
        QTest::newRow("a range inside keeps its values")
            << Steps{{"Min", 1}, {"Max", 10}, {"FromPage", 2}, {"ToPage", 7}}
            << QList<int>{1, 2, 7, 10};
    }
    void pageRangeIsPushed() {
        QFETCH(Steps, steps);
        QFETCH(QList<int>, minFromToMax);
        ScriptedBackend backend;
        CommonDialog dialog(backend);
        for (const auto& [name, value] : steps) {
            const auto v = int16_t(value);
            if (name == "Min")
                dialog.setMin(v);
            else if (name == "Max")
                dialog.setMax(v);
            else if (name == "FromPage")
                dialog.setFromPage(v);
            else
                dialog.setToPage(v);
        }
        const QList<int> got{dialog.Min(), dialog.FromPage(), dialog.ToPage(), dialog.Max()};
        QCOMPARE(got, minFromToMax);
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
        backend.printer.fromPage = 2;
        backend.printer.toPage = 3;
        backend.printer.flags = 0x10;
        backend.printer.hdc = 42;
        CommonDialog dialog(backend);
        dialog.setMax(9);
        QVERIFY(dialog.ShowPrinter());
        QCOMPARE(int(dialog.Copies()), 2);
        QCOMPARE(int(dialog.FromPage()), 2);
        QCOMPARE(int(dialog.ToPage()), 3);
        QCOMPARE(int(dialog.Max()), 9);
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

#include "app/AppWindow.h"
#include "support/CamRuns.h"
#include "support/TestSession.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTest>

using CamRuns::Runs;

// Gives every cam of every format a pattern of its own, so a copy or an erase that touches
// the wrong cam or format shows.
static void fillDistinct(CamProgram& p) {
    for (int f = 1; f <= p.FormatCount(); ++f)
        for (int c = 1; c <= p.CamCount(); ++c)
            CamRuns::Fill(p, f, c, {{f * 10 + c, f * 10 + c + 3}, {300 + c, 5}});
}

// Writes a cam file the way it is kept on disk: Windows-1252 text, CR LF line ends.
static QString writeCamFile(const TestSession& t, const QString& name, const QStringList& lines) {
    const QString path = t.path(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    for (const QString& line : lines)
        file.write(line.toLatin1() + "\r\n");
    return path;
}

static QStringList functionLines(const QString& counts) {
    return {QStringLiteral("FUNZIONI ") + counts,
            "NUMERO ANTICIPI  0 ",
            "FORMATO IN USCITA  0 ",
            "SFASAMENTO ENCODER  0 ",
            "SENSO DI ROTAZIONE  0 ",
            "LIMITE DI VELOCITA' 0 "};
}

// A file for 24 cams and 6 formats whose section 3 holds cams 2 and 7.
static QStringList compatibleFile() {
    return functionLines("24-06") + QStringList{" FORMATO N. 01", "C 02\"WRONG\"",
                                                " 001 002",       " FORMATO N. 02",
                                                " FORMATO N. 03", "C 02\"FEEDER\"",
                                                " 030 090",       " 350 020",
                                                "C 07",           " 100 200",
                                                " FORMATO N. 04", "C 02",
                                                " 005 006",       "END"};
}

class TestFormatOperations : public QObject {
    Q_OBJECT
private slots:
    // Answers given in turn; "<cancel>" is the Cancel button. Each rejected answer shows
    // text 21 with the answer as typed and asks again proposing 1.
    void selectSize_data() {
        QTest::addColumn<int>("current");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QStringList>("rejections");
        QTest::addColumn<int>("selected");
        QTest::newRow("format 3") << 1 << QStringList{"3"} << QStringList{} << 3;
        QTest::newRow("the last") << 2 << QStringList{"6"} << QStringList{} << 6;
        QTest::newRow("0 then 3") << 2 << QStringList{"0", "3"} << QStringList{"T210"} << 3;
        QTest::newRow("7 then 4") << 2 << QStringList{"7", "4"} << QStringList{"T217"} << 4;
        QTest::newRow("7 then cancel keeps the format")
            << 4 << QStringList{"7", "<cancel>"} << QStringList{"T217"} << 4;
        QTest::newRow("letters, -1, then 5")
            << 1 << QStringList{"abc", "-1", "5"} << QStringList{"T21abc", "T21-1"} << 5;
        QTest::newRow("the current format") << 5 << QStringList{"5"} << QStringList{} << 5;
        QTest::newRow("empty") << 2 << QStringList{""} << QStringList{} << 2;
        QTest::newRow("cancel") << 2 << QStringList{"<cancel>"} << QStringList{} << 2;
    }
    void selectSize() {
        QFETCH(int, current);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, rejections);
        QFETCH(int, selected);
        TestSession t;
        AppWindow window(t.session);
        CamProgram& p = t.session.program;
        p.CurrentFormat = current;
        p.CurrentFileName = QStringLiteral("/cams/LINE4.CAM");
        t.session.edit.enterPhase(90, 180);
        p.MarkSaved();
        QSignalSpy redraws(&window.host(), &WindowHost::redrawRequested);
        for (int i = 0; i < answers.size(); ++i) {
            const QString a = answers.at(i);
            t.prompts.expectInput(QStringLiteral("T20 1- 6"), a == QLatin1String("<cancel>")
                                                                  ? std::nullopt
                                                                  : std::optional<QString>(a));
            if (i < rejections.size())
                t.prompts.expectMessage(rejections.at(i));
        }

        window.actions().S_Sel->trigger();

        QVERIFY2(t.prompts.allShown(), qPrintable(t.prompts.problems()));
        QCOMPARE(p.CurrentFormat, selected);
        const bool moved = selected != current;
        QCOMPARE(redraws.count(), moved ? 1 : 0);
        // Another size shown keeps the history.
        QVERIFY(window.actions().o_Undo->isEnabled());
        QStringList proposals{QString::number(current)};
        for (int i = 0; i < rejections.size(); ++i)
            proposals.append(QStringLiteral("1"));
        QCOMPARE(t.prompts.inputProposals(), proposals);
        for (const auto& shown : t.prompts.messages()) {
            QCOMPARE(shown.title, QStringLiteral("T20"));
            QCOMPARE(shown.icon, Prompts::Icon::Warning);
        }
        QVERIFY(p.ProgramSaved);
    }

    void selectSizeFromTheToolbarClosesTheEditorFirst() {
        TestSession t;
        AppWindow window(t.session);
        QSignalSpy hides(&window.host(), &WindowHost::hideEditorsRequested);
        t.prompts.expectInput(QStringLiteral("T20 1- 6"), QStringLiteral("2"));
        window.actions().Sel_Form->trigger();
        QVERIFY2(t.prompts.allShown(), qPrintable(t.prompts.problems()));
        QCOMPARE(hides.count(), 1);
        QCOMPARE(t.session.program.CurrentFormat, 2);
    }

    void copySize_data() {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QStringList>("rejections");
        QTest::addColumn<int>("target");
        QTest::newRow("2 to 5") << QStringList{"5"} << QStringList{} << 5;
        QTest::newRow("2 to 1") << QStringList{"1"} << QStringList{} << 1;
        QTest::newRow("9, then 6") << QStringList{"9", "6"} << QStringList{"T219"} << 6;
        QTest::newRow("0, then cancel") << QStringList{"0", "<cancel>"} << QStringList{"T210"} << 0;
        QTest::newRow("onto itself") << QStringList{"2"} << QStringList{} << 0;
        QTest::newRow("empty") << QStringList{""} << QStringList{} << 0;
        QTest::newRow("cancel") << QStringList{"<cancel>"} << QStringList{} << 0;
    }
    void copySize() {
        QFETCH(QStringList, answers);
        QFETCH(QStringList, rejections);
        QFETCH(int, target);
        TestSession t;
        AppWindow window(t.session);
        CamProgram& p = t.session.program;
        fillDistinct(p);
        p.CurrentFormat = 2;
        QList<QByteArray> before;
        for (int f = 1; f <= 6; ++f)
            before.append(CamRuns::FormatBytes(p, f));
        QSignalSpy redraws(&window.host(), &WindowHost::redrawRequested);
        for (int i = 0; i < answers.size(); ++i) {
            const QString a = answers.at(i);
            t.prompts.expectInput(QStringLiteral("T125 2T126 1 -6"),
                                  a == QLatin1String("<cancel>") ? std::nullopt
                                                                 : std::optional<QString>(a));
            if (i < rejections.size())
                t.prompts.expectMessage(rejections.at(i));
        }

        window.actions().S_Cop->trigger();

        QVERIFY2(t.prompts.allShown(), qPrintable(t.prompts.problems()));
        QCOMPARE(p.CurrentFormat, 2);
        QCOMPARE(redraws.count(), 0);
        for (int f = 1; f <= 6; ++f)
            QCOMPARE(CamRuns::FormatBytes(p, f), f == target ? before.at(1) : before.at(f - 1));
        QCOMPARE(p.ProgramSaved, target == 0);
        QCOMPARE(t.prompts.inputProposals().value(0), QStringLiteral("2"));
        for (int i = 1; i < t.prompts.inputProposals().size(); ++i)
            QCOMPARE(t.prompts.inputProposals().at(i), QStringLiteral("1"));
    }

    void eraseSize_data() {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("answer");
        QTest::newRow("menu, yes") << "s_Clr" << int(Prompts::Answer::Yes);
        QTest::newRow("menu, no") << "s_Clr" << int(Prompts::Answer::No);
        QTest::newRow("toolbar, yes") << "Azz_Form" << int(Prompts::Answer::Yes);
        QTest::newRow("toolbar, no") << "Azz_Form" << int(Prompts::Answer::No);
    }
    void eraseSize() {
        QFETCH(QString, entry);
        QFETCH(int, answer);
        const bool erased = Prompts::Answer(answer) == Prompts::Answer::Yes;
        TestSession t;
        AppWindow window(t.session);
        CamProgram& p = t.session.program;
        fillDistinct(p);
        p.SetCamName(2, QStringLiteral("GLUE"));
        p.CurrentFormat = 4;
        QList<QByteArray> before;
        for (int f = 1; f <= 6; ++f)
            before.append(CamRuns::FormatBytes(p, f));
        QSignalSpy hides(&window.host(), &WindowHost::hideEditorsRequested);
        QSignalSpy redraws(&window.host(), &WindowHost::redrawRequested);
        t.prompts.expectMessage(QStringLiteral("T2 4'?"), Prompts::Answer(answer));

        window.findChild<QAction*>(entry)->trigger();

        QVERIFY2(t.prompts.allShown(), qPrintable(t.prompts.problems()));
        QCOMPARE(t.prompts.messages().at(0).title, QStringLiteral("T3"));
        QCOMPARE(t.prompts.messages().at(0).buttons, Prompts::Buttons::YesNoDefaultNo);
        QCOMPARE(hides.count(), 1);
        for (int f = 1; f <= 6; ++f) {
            if (f == 4 && erased)
                QCOMPARE(CamRuns::FormatBytes(p, f), QByteArray(24 * 360, '\0'));
            else
                QCOMPARE(CamRuns::FormatBytes(p, f), before.at(f - 1));
        }
        QCOMPARE(p.CamName(2), QStringLiteral("GLUE"));
        QCOMPARE(p.ProgramSaved, !erased);
        QCOMPARE(redraws.count(), erased ? 1 : 0);
    }

    // Import Size: the file chosen, the section asked for, and what the current format
    // (format 2, every cam filled) holds afterwards.
    void importSize_data() {
        QTest::addColumn<QStringList>("file");
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<bool>("imported");
        QTest::newRow("section 3 of a compatible file")
            << compatibleFile() << QStringList{"3"} << QStringList{} << true;
        QTest::newRow("7, then 3")
            << compatibleFile() << QStringList{"7", "3"} << QStringList{"T21 7"} << true;
        QTest::newRow("0 ends") << compatibleFile() << QStringList{"0"} << QStringList{} << false;
        QTest::newRow("cancel ends")
            << compatibleFile() << QStringList{"<cancel>"} << QStringList{} << false;
        QTest::newRow("a 16-10 file")
            << functionLines("16-10") + QStringList{" FORMATO N. 03", "C 01", " 010 020"}
            << QStringList{"3"} << QStringList{"File [%1]T10"} << false;
        QTest::newRow("a 24-28 file") << functionLines("24-28") + QStringList{" FORMATO N. 03"}
                                      << QStringList{"3"} << QStringList{"File [%1]T10"} << false;
        QTest::newRow("not a cam file") << QStringList{"HELLO", " FORMATO N. 03"}
                                        << QStringList{"3"} << QStringList{"File [%1]T10"} << false;
        QTest::newRow("an empty file")
            << QStringList{} << QStringList{"3"} << QStringList{"File [%1]T10"} << false;
        QTest::newRow("a missing section") << compatibleFile() << QStringList{"5"}
                                           << QStringList{"File [%1] FORMATO N. 05T10"} << false;
        QTest::newRow("a section that fails half-way")
            << functionLines("24-06") +
                   QStringList{" FORMATO N. 03", "C 02", " 030 090", "C 31", " 100 200"}
            << QStringList{"3"} << QStringList{"File [%1] FORMATO N. 03: C 31T10"} << false;
    }
    void importSize() {
        QFETCH(QStringList, file);
        QFETCH(QStringList, answers);
        QFETCH(QStringList, messages);
        QFETCH(bool, imported);
        TestSession t;
        AppWindow window(t.session);
        CamProgram& p = t.session.program;
        fillDistinct(p);
        p.SetCamName(2, QStringLiteral("OLD"));
        p.CurrentFormat = 2;
        QList<QByteArray> before;
        for (int f = 1; f <= 6; ++f)
            before.append(CamRuns::FormatBytes(p, f));
        const QString path = writeCamFile(t, QStringLiteral("OTHER.CAM"), file);
        QVERIFY(!path.isEmpty());
        t.dialogs.chooseNextFile(path);
        const QString cwd = QDir::currentPath();
        QSignalSpy redraws(&window.host(), &WindowHost::redrawRequested);
        for (int i = 0; i < answers.size(); ++i) {
            const QString a = answers.at(i);
            t.prompts.expectInput(QStringLiteral("T22 1- 6"), a == QLatin1String("<cancel>")
                                                                  ? std::nullopt
                                                                  : std::optional<QString>(a));
            if (i < messages.size())
                t.prompts.expectMessage(QString(messages.at(i)).replace(QLatin1String("%1"), path));
        }

        window.actions().S_Imp->trigger();

        QVERIFY2(t.prompts.allShown(), qPrintable(t.prompts.problems()));
        QCOMPARE(t.dialogs.titles, QStringList{"T8"});
        QCOMPARE(t.dialogs.filters, QStringList{"T57(*.Cam)|*.cam|T73(*.*)|*.*"});
        QCOMPARE(QDir::currentPath(), cwd);
        QCOMPARE(t.prompts.busyDepth(), 0);
        QCOMPARE(t.prompts.inputProposals().value(0), QStringLiteral(" 1"));
        QCOMPARE(p.CurrentFormat, 2);
        for (int f = 1; f <= 6; ++f) {
            if (f != 2 || !imported)
                QCOMPARE(CamRuns::FormatBytes(p, f), before.at(f - 1));
        }
        QCOMPARE(p.ProgramSaved, !imported);
        QCOMPARE(redraws.count(), imported ? 1 : 0);
        if (imported) {
            for (int cam = 1; cam <= 24; ++cam) {
                const Runs expected = cam == 2   ? Runs{{30, 89}, {350, 19}}
                                      : cam == 7 ? Runs{{100, 199}}
                                                 : Runs{};
                QCOMPARE(CamRuns::Of(p, 2, cam), expected);
            }
            QCOMPARE(p.CamName(2), QStringLiteral("FEEDER"));
        } else {
            QCOMPARE(p.CamName(2), QStringLiteral("OLD"));
        }
    }

    void importSizeEndsQuietlyWithoutAFile() {
        TestSession t;
        AppWindow window(t.session);
        t.dialogs.chooseNextFile(QString());
        t.dialogs.chooseNextFile(t.path(QStringLiteral("GONE.CAM")));
        window.actions().S_Imp->trigger();
        window.actions().S_Imp->trigger();
        QVERIFY2(t.prompts.allShown(), qPrintable(t.prompts.problems()));
        QVERIFY(t.prompts.inputPrompts().isEmpty());
        QVERIFY(t.session.program.ProgramSaved);
    }

    // A file dialog that fails (rather than being cancelled) is reported with its number,
    // and Import Size ends without a file.
    void importSizeReportsAFailingFileDialog() {
        struct FailingDialog : FakeCommonDialogBackend {
            bool chooseFile(bool, const CommonDialog&, FileChoice&, int32_t& error) override {
                error = 53;
                return false;
            }
        } failing;
        TestSession t;
        t.dialog.setBackend(failing);
        AppWindow window(t.session);
        t.prompts.expectMessage(QStringLiteral("ERROR  53"));
        window.actions().S_Imp->trigger();
        QVERIFY2(t.prompts.allShown(), qPrintable(t.prompts.problems()));
        QVERIFY(t.prompts.inputPrompts().isEmpty());
        QVERIFY(t.session.program.ProgramSaved);
    }
};

QTEST_MAIN(TestFormatOperations)
#include "tst_formatoperations.moc"

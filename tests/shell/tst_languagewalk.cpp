#include "compare/gui/DifferencesWindow.h"
#include "flash/gui/UpdateFlashWindow.h"
#include "functions/gui/FunctionParametersWindow.h"
#include "link/PortDetails.h"
#include "link/gui/PortWindow.h"
#include "link/gui/ProgrammerTypeWindow.h"
#include "link/gui/TransferWindow.h"
#include "print/gui/PrintWindow.h"
#include "shell/LanguageScripts.h"
#include "shell/gui/AboutWindow.h"
#include "shell/gui/MainWindow.h"
#include "support/ProgramPair.h"
#include "support/RecordingPrintTarget.h"
#include "support/TestSession.h"
#include "timing/gui/TimingWindow.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {

QString withoutAccessKeys(QString text) {
    return text.remove(QRegularExpression(QStringLiteral("&(?=[^&])")));
}

// The main window, its menus and every window a menu opens, with one language script in
// the session.
struct Desk {
    TestSession t;
    RecordingPrintTarget printTarget;
    std::unique_ptr<MainWindow> main;
    std::vector<std::unique_ptr<QWidget>> windows;

    explicit Desk(const QString& script) {
        const QString path = DataPaths::Find(script, QString());
        LanguageScripts::Load(t.session.texts, path);
        main = std::make_unique<MainWindow>(t.session);
        main->applyTexts();
        main->refreshTitle();
        Session& s = t.session;
        windows.emplace_back(new AboutWindow(s.texts));
        windows.emplace_back(new FunctionParametersWindow(s));
        windows.emplace_back(new PortWindow(
            s, nullptr, [](int n) { return n == 1; }, [] { return QList<AdapterInfo>(); }));
        windows.emplace_back(new ProgrammerTypeWindow(s));
        windows.emplace_back(new PrintWindow(s, printTarget));
        windows.emplace_back(new TransferWindow(s, "?FR"));
        windows.emplace_back(new UpdateFlashWindow(s, t.path(QStringLiteral("IMAGE.hex"))));
        windows.emplace_back(new DifferencesWindow(s.texts, ProgramPair::A(), ProgramPair::B(),
                                                   s.Text(319), s.Text(318)));
        windows.emplace_back(new TimingWindow(s.program, s.settings, s.texts));
    }

    QList<QWidget*> all() const {
        QList<QWidget*> list{main.get()};
        for (const auto& w : windows)
            list << w.get();
        return list;
    }

    // "WINDOW" for a window's title, "WINDOW/part" for a part of it by its control name.
    QString textAt(const QString& place) const {
        const QStringList path = place.split(QLatin1Char('/'));
        for (QWidget* window : all()) {
            if (window->objectName() != path.first())
                continue;
            if (path.size() == 1)
                return window->windowTitle();
            const QString name = path.at(1);
            if (auto* menu = window->findChild<QMenu*>(name))
                return menu->title();
            if (auto* action = window->findChild<QAction*>(name))
                return action->text().isEmpty() ? action->toolTip() : action->text();
            if (auto* label = window->findChild<QLabel*>(name))
                return label->text();
            if (auto* button = window->findChild<QAbstractButton*>(name))
                return button->text();
            if (auto* box = window->findChild<QGroupBox*>(name))
                return box->title();
        }
        return QStringLiteral("<no %1>").arg(place);
    }
};

// Every text the operator can read on a widget and what hangs from it. The toolkit's own
// helpers (named qt_...) speak through its translation.
void collect(QWidget* w, QStringList& out) {
    if (w->objectName().startsWith(QLatin1String("qt_")))
        return;
    if (w->isWindow())
        out << w->windowTitle();
    if (auto* label = qobject_cast<QLabel*>(w))
        out << label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        out << button->text();
    if (auto* box = qobject_cast<QGroupBox*>(w))
        out << box->title();
    if (auto* menu = qobject_cast<QMenu*>(w))
        out << menu->title();
    out << w->toolTip();
    for (QAction* a : w->actions()) {
        out << a->text() << a->toolTip();
        if (a->menu())
            collect(a->menu(), out);
    }
    for (QWidget* child : w->findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        collect(child, out);
}

// The words of text that no text of the script explains: numbers, paths, and the names
// of ports and controllers aside.
QStringList foreignWords(const QString& text, const QStringList& scriptPieces) {
    QString rest = withoutAccessKeys(text);
    // The script's pieces first: a unit such as "giri/min" is a piece, not a path.
    for (const QString& piece : scriptPieces)
        rest.replace(piece, QStringLiteral(" "));
    rest.replace(QRegularExpression(QStringLiteral("/\\S*")), QStringLiteral(" "));
    static const QStringList names{"COM", "C", "ms"};
    QStringList words;
    static const QRegularExpression word(QStringLiteral("\\p{L}{2,}"));
    for (auto m = word.globalMatch(rest); m.hasNext();) {
        const QString w = m.next().captured();
        if (!names.contains(w))
            words << w;
    }
    return words;
}

// The script's texts cut at their number places ("%1"), longest first.
QStringList scriptPieces(const LanguageTexts& texts) {
    QStringList pieces;
    static const QRegularExpression placeholder(QStringLiteral("%[0-9vm]"));
    for (int n = 2; n <= LanguageTexts::Count; ++n)
        for (const QString& piece : withoutAccessKeys(texts.Text(n)).split(placeholder))
            if (piece.trimmed().size() >= 2) {
                pieces << piece.trimmed();
                // A menu entry's tooltip is its text without the "..." of a dialog to come.
                if (piece.trimmed().endsWith(QLatin1String("...")))
                    pieces << piece.trimmed().chopped(3);
            }
    std::sort(pieces.begin(), pieces.end(),
              [](const QString& a, const QString& b) { return a.size() > b.size(); });
    return pieces;
}

} // namespace

class TestLanguageWalk : public QObject {
    Q_OBJECT
private slots:
    // With a script chosen, nothing on the main window, its menus or the windows they open
    // reads in another language.
    void everyTextComesFromTheScript_data() {
        QTest::addColumn<QString>("script");
        QTest::newRow("Italian") << "q517_IT.SCR";
        QTest::newRow("English") << "q517_EN.SCR";
        QTest::newRow("German") << "q517_DE.SCR";
    }
    void everyTextComesFromTheScript() {
        QFETCH(QString, script);
        Desk desk(script);
        const QStringList pieces = scriptPieces(desk.t.session.texts);
        QStringList foreign;
        for (QWidget* window : desk.all()) {
            QStringList texts;
            collect(window, texts);
            for (const QString& text : texts) {
                const QStringList words = foreignWords(text, pieces);
                if (!words.isEmpty())
                    foreign << window->objectName() + ": \"" + text + "\"";
            }
        }
        QVERIFY2(foreign.isEmpty(), qPrintable(foreign.join(QLatin1Char('\n'))));
    }

    // What the operator reads in a few places, language by language.
    void placesRead_data() {
        QTest::addColumn<QString>("script");
        QTest::addColumn<QString>("place");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char* script, const char* place, const char* expected) {
            QTest::addRow("%s %s", script, place)
                << QString::fromLatin1(script) << QString::fromLatin1(place)
                << QString::fromUtf8(expected);
        };
        // Italian reads as it always has where the windows were drawn with a fixed caption.
        row("q517_IT.SCR", "INTESTA", "CAMS PROGRAMMER INTERFACE");
        row("q517_IT.SCR", "INTESTA/Label1", "VERSIONE 2.5");
        row("q517_IT.SCR", "SelPort", "Select Port");
        row("q517_IT.SCR", "Logcomm/LabRT", "RICEZ");
        row("q517_IT.SCR", "MAIN/f_New", "&Nuovo");
        row("q517_IT.SCR", "MAIN/StController", "nessun controllore");
        row("q517_EN.SCR", "MAIN/F_", "&File");
        row("q517_EN.SCR", "MAIN/o_Setlng", "Set &Language");
        row("q517_EN.SCR", "MAIN/StController", "no controller");
        row("q517_EN.SCR", "MAIN/StFile", "(no file)");
        row("q517_EN.SCR", "INTESTA/Label1", "VERSION 2.5");
        row("q517_EN.SCR", "FUN/L_Sfas", "ENCODER SHIFT");
        row("q517_EN.SCR", "SelPort/Panset",
            "Current Settings: COM:1, 9600baud, NO parity, 8 bits, 1stop");
        row("q517_DE.SCR", "MAIN/F_", "&Datei");
        row("q517_DE.SCR", "MAIN/C_Trsz", "Formate senden");
        row("q517_DE.SCR", "MAIN/Sel_Form", "Format wählen");
        row("q517_DE.SCR", "MAIN/StController", "keine Steuerung");
        row("q517_DE.SCR", "FUN", "Funktionen");
        row("q517_DE.SCR", "FUN/C_RES", "&ZURÜCKSETZEN");
        row("q517_DE.SCR", "SelPort/K_FIND", "Steuerung &suchen");
        row("q517_DE.SCR", "PrnSize/T_OK", "&DRUCKEN");
        row("q517_DE.SCR", "UpdFlsh", "Aktualisierung Q5-17");
        row("q517_DE.SCR", "DIFF", "Unterschiede");
        row("q517_DE.SCR", "MAIN/Fu_Timing", "&Zeiten bei Drehzahl...");
        row("q517_DE.SCR", "TIMING", "Zeiten bei Drehzahl");
    }
    void placesRead() {
        QFETCH(QString, script);
        QFETCH(QString, place);
        QFETCH(QString, expected);
        Desk desk(script);
        QCOMPARE(desk.textAt(place), expected);
    }
};

QTEST_MAIN(TestLanguageWalk)
#include "tst_languagewalk.moc"

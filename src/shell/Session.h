#pragma once

#include "link/ControllerLink.h"
#include "link/LinkContext.h"
#include "link/SerialLine.h"
#include "model/CamProgram.h"
#include "model/EditSession.h"
#include "model/LanguageTexts.h"
#include "shell/Options.h"
#include "shell/UserSettings.h"

#include <QString>

#include <memory>

class Prompts;
class Clock;
class CommonDialog;

// Everything long-lived that the windows share: built once by main (or by a test with
// fakes) and handed by reference to the main window and every modal window.
struct Session {
    Session(Prompts& prompts, Clock& clock, CommonDialog& dialog, SerialLine& line, QString workDir)
        : link(line, clock, workDir, texts), prompts(prompts), clock(clock), dialog(dialog),
          workDir(std::move(workDir)) {}
    // On the machine's own line (a serial device or a network port), which words what it says
    // of a network port's server in this session's texts, whatever language they are switched to.
    Session(Prompts& prompts, Clock& clock, CommonDialog& dialog, QString workDir);
    ~Session();

    CamProgram program;
    // The cam and format being edited and the entries that can be taken back.
    EditSession edit{program};
    Options options;
    LanguageTexts texts;
    // Per-user choices outside the options file (in memory unless main loads a file).
    UserSettings settings;
    // The line the session made itself; none when it was given one (a test's fake).
    std::unique_ptr<SerialLine> ownLine;
    // The line to the controller, its last open result and the controller's last answers.
    ControllerLink link;

    Prompts& prompts;
    Clock& clock;
    CommonDialog& dialog;

    // The working directory: options file, transfer file and port links live here.
    QString workDir;

    // What an exchange with the controller works with, with the port and speed the options
    // hold now.
    LinkContext linkContext() {
        return {link, prompts, texts, options.PortNumber, options.BaudRate};
    }

    // Text n of the language script.
    QString Text(int n) const { return texts.Text(n); }
    // A path inside the working directory.
    QString workPath(const QString& name) const;
};

// Where the program's own data (the default language scripts) is found: the working
// directory first, then the install and source trees.
namespace DataPaths {
// The full path of a data file, or an empty text when it exists nowhere.
QString Find(const QString& name, const QString& workDir);
} // namespace DataPaths

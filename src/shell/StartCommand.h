#pragma once

#include <QString>
#include <QStringList>

class LanguageTexts;

// What a start of q517 asks for: the window, with a cam file to open or none, or only the
// help or the version, printed without a window and without looking for a running q517.
struct StartCommand {
    enum class Action { Window, Print, Refuse };
    Action action = Action::Window;
    // The cam file to open, absolute (the window works in its own directory); empty for none.
    QString file;
    // For Print the help or the version; for Refuse what was wrong, then the usage.
    QString text;

    int exitStatus() const { return action == Action::Refuse ? 2 : 0; }
};

// arguments: the whole command line, the program's name first. A relative file name is taken
// from currentDir.
StartCommand ReadStartCommand(const QStringList& arguments, const LanguageTexts& texts,
                              const QString& currentDir);

// The whole --help text of q517.
QString StartHelpText(const LanguageTexts& texts);

#pragma once

#include <QStringList>
#include <QTextStream>

#include <functional>
#include <map>

// One q517-cli command. Each command file registers itself with a static CliRegistration,
// so adding a command never touches the dispatcher.
struct CliCommand {
    QString name;
    QString usage; // "convert IN.CAM OUT.CAM"
    // One line for --help, in the operator's language (the texts are read once the program
    // runs, after every command registered itself).
    std::function<QString()> summary;
    // Runs with the arguments after the command name; returns the exit status
    // (0 done, 1 failed, 2 usage error).
    std::function<int(const QStringList& args)> run;
};

std::map<QString, CliCommand>& CliCommands();

struct CliRegistration {
    explicit CliRegistration(CliCommand command) {
        CliCommands()[command.name] = std::move(command);
    }
};

class LanguageTexts;
// The texts of the language script q517's options file names (English when it is found
// nowhere), with the English ones where it has none.
const LanguageTexts& CliTexts();

// Standard output and standard error as text streams.
QTextStream& cliOut();
QTextStream& cliErr();
// A name, path or line as the terminal may show it: control characters (ESC, BEL, NUL, ...)
// written as \x1b, so nothing from a file or a controller can drive the terminal.
QString CliShown(const QString& text);
// Prints "q517-cli: usage: q517-cli <usage>" on standard error and returns 2.
int cliUsageError(const CliCommand& command, const QString& problem = QString());

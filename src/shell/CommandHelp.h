#pragma once

#include <QList>
#include <QPair>
#include <QString>

class LanguageTexts;

// The parts of a --help text that q517 and q517-cli share. Section titles stand alone on
// their line with a colon, so that a manual page can be made from the text.
namespace CommandHelp {

// One item of a section: the term (an option, a file, a status) and what it means.
using Item = QPair<QString, QString>;

// "Title:" and one indented line per item, the explanation beside the term or, for a long
// term, on the line below.
QString Section(const QString& title, const QList<Item>& items);

// What a program's exit status tells.
enum class Statuses {
    DoneOrWrongArguments,       // 0 done, 2 wrong arguments
    DoneFailedOrWrongArguments, // 0 done, 1 refused or failed, 2 wrong arguments
    SameDifferentOrFailed,      // 0 the programs are the same, 1 they differ, 2 trouble
    DoneShortOrFailed,          // 0 done, 1 something is shorter than asked, 2 trouble
};
QString ExitStatus(const LanguageTexts& texts, Statuses statuses);

// The files in the working directory and the installed language scripts; withLine adds
// the port links and the transfer file of the commands that talk to a controller.
QString Files(const LanguageTexts& texts, bool withLine);

} // namespace CommandHelp

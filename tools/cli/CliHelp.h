#pragma once

#include <QString>

struct CliCommand;
class LanguageTexts;

// The --help texts of q517-cli: the list of commands, and one command's usage, each with what
// the exit status tells, the files used and examples, in the operator's language.
QString CliHelpText(const LanguageTexts& texts);
QString CliCommandHelpText(const CliCommand& command, const LanguageTexts& texts);

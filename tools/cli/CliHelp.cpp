#include "CliHelp.h"

#include "CliCommand.h"

#include "model/LanguageTexts.h"
#include "shell/CommandHelp.h"

#include <map>

namespace {

using CommandHelp::Statuses;

// What each command's help adds to its usage. Examples are command lines: they need no
// translation, and every name in them is an option or a file.
struct HelpDetails {
    Statuses statuses = Statuses::DoneFailedOrWrongArguments;
    bool usesLine = false; // talks to a controller: the port links and the transfer file
    QStringList examples;
};

const std::map<QString, HelpDetails>& Details() {
    static const std::map<QString, HelpDetails> details{
        {QStringLiteral("check"),
         {Statuses::DoneFailedOrWrongArguments,
          false,
          {QStringLiteral("q517-cli check PRESS1.CAM")}}},
        {QStringLiteral("convert"),
         {Statuses::DoneFailedOrWrongArguments,
          false,
          {QStringLiteral("q517-cli convert OLD.CAM NEW.CAM")}}},
        {QStringLiteral("diff"),
         {Statuses::SameDifferentOrFailed,
          false,
          {QStringLiteral("q517-cli diff PRESS1.CAM PRESS2.CAM"),
           QStringLiteral("q517-cli diff PRESS1.CAM PRESS2.CAM --json")}}},
        {QStringLiteral("flash"),
         {Statuses::DoneFailedOrWrongArguments,
          true,
          {QStringLiteral("q517-cli flash Q517.hex --port 3 --yes"),
           QStringLiteral("q517-cli flash Q517.hex --ports 3-8 --yes --report FLASH.json")}}},
        {QStringLiteral("hexcheck"),
         {Statuses::DoneFailedOrWrongArguments,
          false,
          {QStringLiteral("q517-cli hexcheck Q517.hex")}}},
        {QStringLiteral("identify"),
         {Statuses::DoneFailedOrWrongArguments,
          true,
          {QStringLiteral("q517-cli identify --port 3"),
           QStringLiteral("q517-cli identify --device /dev/ttyUSB0 --baud 9600")}}},
        {QStringLiteral("ports"),
         {Statuses::DoneFailedOrWrongArguments, true, {QStringLiteral("q517-cli ports")}}},
        {QStringLiteral("print"),
         {Statuses::DoneFailedOrWrongArguments,
          false,
          {QStringLiteral("q517-cli print PRESS1.CAM --pdf PRESS1.pdf --all"),
           QStringLiteral("q517-cli print PRESS1.CAM --pdf F2.pdf --format 2 --graphic")}}},
        {QStringLiteral("receive"),
         {Statuses::DoneFailedOrWrongArguments,
          true,
          {QStringLiteral("q517-cli receive SAVED.CAM --port 3")}}},
        {QStringLiteral("send"),
         {Statuses::DoneFailedOrWrongArguments,
          true,
          {QStringLiteral("q517-cli send PRESS1.CAM --port 3"),
           QStringLiteral("q517-cli send PRESS1.CAM --ports 3-8,12 --report LINE.json")}}},
        {QStringLiteral("timing"),
         {Statuses::DoneShortOrFailed,
          false,
          {QStringLiteral("q517-cli timing PRESS1.CAM --rpm 600"),
           QStringLiteral("q517-cli timing PRESS1.CAM --rpm 600 --format 2 --min-ms 20 --json")}}},
        {QStringLiteral("verify"),
         {Statuses::SameDifferentOrFailed,
          true,
          {QStringLiteral("q517-cli verify PRESS1.CAM --port 3"),
           QStringLiteral("q517-cli verify PRESS1.CAM --device /dev/ttyUSB0 --json")}}},
    };
    return details;
}

HelpDetails DetailsOf(const QString& command) {
    const auto it = Details().find(command);
    return it == Details().end() ? HelpDetails{} : it->second;
}

QString ExamplesSection(const LanguageTexts& texts, const QStringList& examples) {
    QList<CommandHelp::Item> items;
    for (const QString& example : examples)
        items.append({QStringLiteral("$ ") + example, QString()});
    return CommandHelp::Section(texts.Text(495), items);
}

} // namespace

QString CliHelpText(const LanguageTexts& texts) {
    QString text = QStringLiteral("q517-cli " Q517_VERSION ": ") + texts.Text(143) +
                   QStringLiteral("\n\n") + texts.Text(564) +
                   QStringLiteral(" q517-cli COMMAND [ARGUMENTS]\n\n") + texts.Text(144) +
                   QStringLiteral("\n");
    QStringList examples;
    for (const auto& [name, command] : CliCommands()) {
        text += QStringLiteral("  ") + command.usage + QStringLiteral("\n      ") +
                command.summary() + QStringLiteral("\n");
        examples += DetailsOf(name).examples.mid(0, 1);
    }
    text += QStringLiteral("\n") + texts.Text(264) + QStringLiteral("\n  --help            ") +
            texts.Text(145) + QStringLiteral("\n  --version         ") + texts.Text(146) +
            QStringLiteral("\n  COMMAND --help    ") + texts.Text(147) +
            QStringLiteral("\n  -v                ") + texts.Text(148) + QStringLiteral("\n\n");
    return text + CommandHelp::ExitStatus(texts, Statuses::DoneFailedOrWrongArguments) +
           QStringLiteral("\n") + CommandHelp::Files(texts, true) + QStringLiteral("\n") +
           ExamplesSection(texts, examples);
}

QString CliCommandHelpText(const CliCommand& command, const LanguageTexts& texts) {
    const HelpDetails details = DetailsOf(command.name);
    return texts.Text(563) + QStringLiteral(" q517-cli ") + command.usage + QStringLiteral("\n") +
           command.summary() + QStringLiteral("\n\n") +
           CommandHelp::ExitStatus(texts, details.statuses) + QStringLiteral("\n") +
           CommandHelp::Files(texts, details.usesLine) + QStringLiteral("\n") +
           ExamplesSection(texts, details.examples);
}

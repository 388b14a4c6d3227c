#include "shell/StartCommand.h"

#include "model/LanguageTexts.h"
#include "shell/CommandHelp.h"

#include <QCommandLineParser>
#include <QDir>

namespace {
QString Usage(const LanguageTexts& texts) {
    return texts.Text(564) + QStringLiteral(" q517 [FILE.CAM]\n");
}

StartCommand refuse(const QString& problem, const LanguageTexts& texts) {
    StartCommand command;
    command.action = StartCommand::Action::Refuse;
    command.text = QStringLiteral("q517: ") + problem + QStringLiteral("\n") + Usage(texts) +
                   QStringLiteral("  -h, --help  ") + texts.Text(484) + QStringLiteral("\n");
    return command;
}
} // namespace

QString StartHelpText(const LanguageTexts& texts) {
    using CommandHelp::Section;
    const QString gap = QStringLiteral("\n");
    return Usage(texts) + texts.Text(482) + QStringLiteral("\n\n") +
           Section(texts.Text(264), {{QStringLiteral("-h, --help"), texts.Text(484)},
                                     {QStringLiteral("-v, --version"), texts.Text(485)}}) +
           gap + Section(texts.Text(636), {{QStringLiteral("FILE.CAM"), texts.Text(483)}}) + gap +
           CommandHelp::ExitStatus(texts, CommandHelp::Statuses::DoneOrWrongArguments) + gap +
           CommandHelp::Files(texts, false) + gap +
           Section(texts.Text(495), {{QStringLiteral("$ q517 PRESS1.CAM"), QString()}});
}

StartCommand ReadStartCommand(const QStringList& arguments, const LanguageTexts& texts,
                              const QString& currentDir) {
    QCommandLineParser parser;
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    parser.addOptions({help, version});
    parser.addPositionalArgument(QStringLiteral("FILE.CAM"), texts.Text(483));
    if (!parser.parse(arguments)) {
        const QStringList unknown = parser.unknownOptionNames();
        return refuse(unknown.isEmpty() ? parser.errorText() : texts.Text(497) + unknown.first(),
                      texts);
    }
    StartCommand command;
    if (parser.isSet(help) || parser.isSet(version)) {
        command.action = StartCommand::Action::Print;
        command.text =
            parser.isSet(help) ? StartHelpText(texts) : QStringLiteral("q517 " Q517_VERSION "\n");
        return command;
    }
    const QStringList files = parser.positionalArguments();
    if (files.size() > 1)
        return refuse(texts.Text(489), texts);
    if (!files.isEmpty()) {
        if (files.first().isEmpty())
            return refuse(QStringLiteral("'': ") + texts.Text(480), texts);
        command.file = QDir::cleanPath(QDir(currentDir).absoluteFilePath(files.first()));
    }
    return command;
}

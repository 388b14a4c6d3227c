// q517-cli flash IMAGE.hex: the image check and the flash update of the update window, with
// its progress and result on standard error.
#include "CliCommand.h"
#include "CliDevice.h"
#include "CliLine.h"
#include "model/LanguageTexts.h"

#include "flash/FirmwareTag.h"
#include "flash/FlashUpdate.h"
#include "flash/HexRecord.h"
#include "flash/ImageCheck.h"
#include "production/LineJobs.h"
#include "production/TargetPrompts.h"

#include <QFileInfo>

#include <optional>
#include <utility>

namespace {

int RunFlash(const QStringList& args);

const CliRegistration registration(CliCommand{
    QStringLiteral("flash"),
    QStringLiteral("flash IMAGE.hex (--port N | --ports 3-8,12 | --device PATH)... --yes "
                   "[--report FILE.json]"),
    [] { return CliTexts().Text(153); }, RunFlash});

// The update's reports as lines on standard error: one line per step, one status line per
// refresh of the counters, and the result or the refusal last.
class StderrProgress : public ProgressObserver {
public:
    explicit StderrProgress(QString path) : path_(std::move(path)) {}

    void workingFile(const QString& path, qint64 size) override {
        say(CliTexts().Text(301).arg(path, QString::number(size)));
    }
    void phaseBegun(Phase phase) override {
        checking_ = phase == Phase::Checking;
        switch (phase) {
        case Phase::Checking:
            say(CliTexts().Text(581));
            break;
        case Phase::Erasing:
            say(CliTexts().Text(582));
            break;
        case Phase::Transmitting:
            say(CliTexts().Text(583));
            break;
        case Phase::Connecting:
        case Phase::Receiving:
            break;
        }
    }
    void counted(const Counters& c) override {
        const LanguageTexts& texts = CliTexts();
        QString status = QStringLiteral("  ") + texts.Text(594) + QLatin1Char(' ') +
                         CounterText(c.line) + QLatin1Char(' ') + texts.Text(595) +
                         QLatin1Char(' ') + CounterText(c.bytes);
        if (c.address >= 0)
            status += QLatin1Char(' ') + texts.Text(596) + QLatin1Char(' ') +
                      HexRecord::AddressText(c.address);
        if (c.elapsedMs >= 0)
            status += QLatin1Char(' ') + texts.Text(597) + FlashUpdate::ElapsedText(c.elapsedMs);
        if (c.percent >= 0)
            status += QStringLiteral(" %1%").arg(c.percent);
        // The check is quick: only its final counters are worth a line.
        if (checking_)
            checkCounters_ = status;
        else
            say(status);
    }
    void firmwareTag(const QByteArray& tag) override {
        const QString line = FirmwareTag::TagLine(tag);
        if (!line.isEmpty())
            say(line);
    }
    void readyLine(bool ready) override {
        if (ready != lastReady_)
            say(ready ? CliTexts().Text(245) : CliTexts().Text(246));
        lastReady_ = ready;
    }
    void erased() override { say(CliTexts().Text(242)); }
    void done() override { say(CliTexts().Text(243) + path_); }
    void refused(const Refusal& refusal) override {
        if (refusal.operatorChose())
            return;
        QString text = refusal.text(CliTexts());
        if (!refusal.detail.isEmpty() && refusal.detail != text)
            text += QStringLiteral(": ") + refusal.detail;
        say(text);
    }

private:
    void say(const QString& line) {
        if (!checkCounters_.isEmpty())
            cliErr() << std::exchange(checkCounters_, QString()) << "\n";
        cliErr() << line << "\n";
        cliErr().flush();
    }
    QString path_;
    bool checking_ = false;
    QString checkCounters_;
    std::optional<bool> lastReady_;
};

int RunFlash(const QStringList& args) {
    const CliCommand& self = CliCommands().at(QStringLiteral("flash"));
    LineArgs line;
    QString problem;
    if (!ParseLineArgs(args, true, CliTexts(), &line, &problem))
        return cliUsageError(self, problem);
    if (line.rest.size() != 1 || line.rest.first().startsWith(QLatin1String("--")))
        return cliUsageError(self, line.rest.isEmpty()
                                       ? CliTexts().Text(578)
                                       : CliTexts().Text(579).arg(line.rest.last()));
    if (!line.yes) {
        cliErr() << "q517-cli: " << CliTexts().Text(580) << "\n";
        return 2;
    }
    const QString image = line.rest.first();
    const bool one = line.targets.size() == 1;
    // One check for the whole line: a bad image never reaches a controller. A line of one
    // shows the check and the update in full, as the update window does.
    StderrProgress echo(image);
    ProgressObserver* shown = one ? &echo : nullptr;
    if (shown) {
        shown->workingFile(image, QFileInfo(image).size());
        shown->phaseBegun(ProgressObserver::Phase::Checking);
    }
    const ImageCheckResult check = CheckImage(image, [shown](qint64 lines, qint64 bytes) {
        if (!shown)
            return;
        ProgressObserver::Counters counters;
        counters.line = lines;
        counters.bytes = bytes;
        shown->counted(counters);
    });
    if (!check.passed()) {
        cliErr() << "q517-cli: " << image << ": " << check.refusal(CliTexts()).text(CliTexts())
                 << "\n";
        return 2;
    }
    if (shown && !check.tag.isEmpty())
        shown->firmwareTag(check.tag);
    return RunLine(QStringLiteral("flash"), image, line, [&](TargetContext& context) {
        TargetPrompts prompts(line.yes);
        CliDevice cli(DeviceArgsFor(context.target(), line), prompts, CliWorkDir());
        return FlashImageJob(cli.session().linkContext(), prompts, context, image, check.lines,
                             line.yes, shown);
    });
}

} // namespace

// q517-cli flash IMAGE.hex: the image check and the flash update of the update window, with
// the window's texts and progress on standard error.
#include "CliCommand.h"
#include "CliDevice.h"

#include "flash/FlashView.h"
#include "flash/UpdateRun.h"

#include <QMap>

namespace {

int RunFlash(const QStringList& args);

const CliRegistration registration(CliCommand{
    QStringLiteral("flash"), QStringLiteral("flash IMAGE.hex (--port N | --device PATH) --yes"),
    QStringLiteral("checks a firmware image and writes it into the controller's flash"), RunFlash});

// The update window's rows as lines on standard error: each fixed row as it is drawn, the
// changing fields (counters, address, time, percentage) as one status line per refresh.
class StderrFlashView : public FlashView {
public:
    void drawText(int x, int y, const QString& text, const Style&) override {
        using namespace FlashLayout;
        static const struct {
            Spot spot;
            const char* label;
        } fields[] = {{TestedLines, "line "}, {TestedBytes, "bytes "}, {SentLines, "line "},
                      {SentBytes, "bytes "},  {Address, "addr "},      {Elapsed, ""}};
        for (const auto& field : fields) {
            if (field.spot.x == x && field.spot.y == y) {
                fields_[y * 10000 + x] = QLatin1String(field.label) + text;
                changed_ = true;
                return;
            }
        }
        // A fixed row starts a new stage: the fields of the one before are done.
        fields_.clear();
        percent_ = -1;
        changed_ = false;
        cliErr() << text << "\n";
        cliErr().flush();
    }
    void showLed(uint32_t rgb) override {
        const bool ready = rgb == Green;
        if (ready != lastReady_) {
            lastReady_ = ready;
            cliErr() << (ready ? "controller ready (CTS on)" : "controller not ready (CTS off)")
                     << "\n";
        }
    }
    void drawProgress(int percent) override {
        percent_ = percent;
        changed_ = true;
    }
    void repaint() override {
        if (!changed_)
            return;
        changed_ = false;
        QStringList parts;
        for (const QString& field : std::as_const(fields_))
            parts.append(field);
        if (percent_ >= 0)
            parts.append(QString::number(percent_) + QLatin1Char('%'));
        cliErr() << "  " << parts.join(QLatin1Char(' ')) << "\n";
        cliErr().flush();
    }
    void closeWindow() override {}

private:
    QMap<int, QString> fields_; // by row, then column
    bool changed_ = false;
    int percent_ = -1;
    std::optional<bool> lastReady_;
};

int RunFlash(const QStringList& args) {
    const CliCommand& self = CliCommands().at(QStringLiteral("flash"));
    CliDeviceArgs device;
    QString problem;
    if (!ParseDeviceArgs(args, &device, &problem))
        return cliUsageError(self, problem);
    if (device.rest.size() != 1 || device.rest.first().startsWith(QLatin1String("--")))
        return cliUsageError(self, device.rest.isEmpty()
                                       ? QStringLiteral("which image?")
                                       : QStringLiteral("unexpected ") + device.rest.last());
    CliDevice cli(device);
    StderrFlashView view;
    UpdateRun run(cli.session(), view, device.rest.first());
    run.setConfirmed(device.yes);
    run.Run();
    if (!run.updated()) {
        cliErr() << "q517-cli: the controller's flash was not updated\n";
        return 1;
    }
    return 0;
}

} // namespace

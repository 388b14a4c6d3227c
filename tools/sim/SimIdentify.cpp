// The controller's answers to "?M" (identity and type) and "?T" (processor and firmware).
#include "SimController.h"
#include "SimModule.h"

namespace {

// "?M": the cam count at characters 1-2, the format count at 4-5, "ITALY" at 22 and the
// nine identification characters after "Y-" at 28-36.
QByteArray identLine(const SimConfig& config, bool withItaly) {
    const QByteArray cams = QByteArray::number(config.camCount).rightJustified(2, '0');
    const QByteArray formats = QByteArray::number(config.formatCount).rightJustified(2, '0');
    QByteArray line = cams + ' ' + formats;
    line = line.leftJustified(8, ' ') + "Q517 SIM";
    line = line.leftJustified(21, ' ');
    const QByteArray ident = ("SIMC" + cams + '-' + formats).left(9);
    line += (withItaly ? "ITALY-" : "EUROP-") + ident;
    return line;
}

// "?T": the processor name before the first "-", then the firmware version.
QByteArray typeLine(const SimConfig& config) {
    return config.cpu.toLatin1() + "-V2.50 Q517SIM";
}

const SimModuleRegistration registration(SimModule{
    QStringLiteral("identify"),
    {},
    {QStringLiteral("bad-reply"), QStringLiteral("no-ident")},
    [](const QCommandLineParser&, SimController& controller, QString*) {
        controller.onCommandLine("?M", [](SimController& c) {
            // A loader that knows only the update's own commands ("?T", ":FU").
            if (c.config().fault(QStringLiteral("no-ident"))) {
                c.log(QStringLiteral("no answer to ?M (fault)"));
                return;
            }
            c.sendLine(identLine(c.config(), !c.config().fault(QStringLiteral("bad-reply"))));
        });
        controller.onCommandLine("?T", [](SimController& c) { c.sendLine(typeLine(c.config())); });
        return true;
    }});

} // namespace

#include "CliDevice.h"

#include "CliCommand.h"
#include "link/LineProtocol.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

Prompts::Answer CliPrompts::message(const QString& text, const QString& title, Buttons buttons,
                                    Icon) {
    ++shown_;
    QString line = text;
    line.replace(QLatin1Char('\r'), QString()).replace(QLatin1Char('\n'), QLatin1Char(' '));
    if (!title.isEmpty())
        cliErr() << title << ": ";
    cliErr() << line << "\n";
    cliErr().flush();
    switch (buttons) {
    case Buttons::Ok:
        return Answer::Ok;
    case Buttons::OkCancel:
        return yes_ ? Answer::Ok : Answer::Cancel;
    case Buttons::YesNo:
    case Buttons::YesNoCancel:
        return yes_ ? Answer::Yes : Answer::No;
    case Buttons::RetryCancel:
        // Nobody is there to put things right before a retry.
        return Answer::Cancel;
    }
    return Answer::Cancel;
}

std::optional<QString> CliPrompts::input(const QString& prompt, const QString& title,
                                         const QString& proposal) {
    message(prompt, title, Buttons::Ok, Icon::None);
    if (yes_)
        return proposal;
    return std::nullopt;
}

void CliPrompts::processEvents() {
    QCoreApplication::processEvents();
}

bool CliDialogBackend::chooseFile(bool, const CommonDialog&, FileChoice&, int32_t& error) {
    error = 0;
    return false;
}
bool CliDialogBackend::choosePrinter(const CommonDialog&, PrinterChoice&, int32_t& error) {
    error = 0;
    return false;
}
bool CliDialogBackend::chooseColor(const CommonDialog&, int32_t&, int32_t& error) {
    error = 0;
    return false;
}
bool CliDialogBackend::chooseFont(const CommonDialog&, FontChoice&, int32_t& error) {
    error = 0;
    return false;
}
bool CliDialogBackend::showHelp(const CommonDialog&, int32_t& error) {
    error = 0;
    return false;
}

bool ParseDeviceArgs(const QStringList& args, CliDeviceArgs* out, QString* problem) {
    CliDeviceArgs parsed;
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& a = args.at(i);
        const bool takesValue = a == QLatin1String("--port") || a == QLatin1String("--device") ||
                                a == QLatin1String("--baud");
        if (takesValue && i + 1 >= args.size()) {
            *problem = a + QStringLiteral(" needs a value");
            return false;
        }
        if (a == QLatin1String("--port")) {
            bool ok = false;
            const int n = args.at(++i).toInt(&ok);
            if (!ok || n < 1 || n > 64) {
                *problem = QStringLiteral("--port must be 1 to 64");
                return false;
            }
            parsed.port = n;
        } else if (a == QLatin1String("--device")) {
            parsed.device = args.at(++i);
        } else if (a == QLatin1String("--baud")) {
            parsed.baud = args.at(++i);
            bool ok = false;
            if (parsed.baud.toInt(&ok) <= 0 || !ok) {
                *problem = QStringLiteral("--baud must be a positive number");
                return false;
            }
        } else if (a == QLatin1String("--yes")) {
            parsed.yes = true;
        } else {
            parsed.rest.append(a);
        }
    }
    if (parsed.port.has_value() == !parsed.device.isEmpty()) {
        *problem = QStringLiteral("give --port N or --device PATH");
        return false;
    }
    *out = parsed;
    return true;
}

QString CliWorkDir() {
    // q517's own working directory, whatever this program is called.
    const QString name = QCoreApplication::applicationName();
    QCoreApplication::setApplicationName(QStringLiteral("q517"));
    const QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QCoreApplication::setApplicationName(name);
    return dir;
}

CliDevice::CliDevice(const CliDeviceArgs& args) : prompts_(args.yes) {
    session_ = std::make_unique<Session>(prompts_, clock_, dialog_, line_, CliWorkDir());
    Session& s = *session_;
    s.options.PortNumber = int16_t(args.port.value_or(s.options.PortNumber));
    s.options.BaudRate = args.baud;
    s.link.state.DeviceOverride = args.device;
    const QString script = DataPaths::Find(s.options.LanguageFile, s.workDir);
    if (!script.isEmpty())
        s.texts.LoadLanguage(script);
}

CliDevice::~CliDevice() {
    CloseSerialPort(*session_);
}

bool ParseDeviceAndCamFile(const QStringList& args, const QString& commandName, CliDeviceArgs* out,
                           QString* camFile) {
    const CliCommand& self = CliCommands().at(commandName);
    QString problem;
    if (!ParseDeviceArgs(args, out, &problem)) {
        cliUsageError(self, problem);
        return false;
    }
    if (out->rest.size() != 1) {
        cliUsageError(self, out->rest.isEmpty() ? QStringLiteral("which cam file?")
                                                : QStringLiteral("one cam file only"));
        return false;
    }
    *camFile = out->rest.first();
    return true;
}

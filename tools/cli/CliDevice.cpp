#include "CliDevice.h"

#include "CliCommand.h"
#include "link/LineProtocol.h"
#include "production/LineTargets.h"
#include "production/TargetPrompts.h"
#include "shell/LanguageScripts.h"
#include "shell/OperatorScript.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
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
    return UnattendedAnswer(buttons, yes_);
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

bool ParseDeviceArgs(const QStringList& args, CliDeviceArgs* out, QString* problem) {
    LineArgs line;
    if (!ParseLineArgs(args, false, CliTexts(), &line, problem))
        return false;
    if (line.targets.size() != 1) {
        *problem = CliTexts().Text(560);
        return false;
    }
    *out = DeviceArgsFor(line.targets.first(), line);
    out->rest = line.rest;
    return true;
}

CliDeviceArgs DeviceArgsFor(const LineTarget& target, const LineArgs& line) {
    CliDeviceArgs args;
    if (target.port > 0)
        args.port = target.port;
    // A relative path is the operator's, from the directory the command was started in.
    // A network address ("tcp://HOST:PORT") is kept as it is.
    args.device = target.device.isEmpty() || target.device.contains(QLatin1String("://"))
                      ? target.device
                      : QFileInfo(target.device).absoluteFilePath();
    args.baud = line.baud;
    args.yes = line.yes;
    return args;
}

QString CliLanguageScript() {
    // Once, on the first caller's thread (the main thread: commands ask before any target
    // of a production line runs), so no target reads the options file under another.
    static const QString script = OperatorScript(CliWorkDir());
    return script;
}

const LanguageTexts& CliTexts() {
    // Read once: every message of one run speaks the same language.
    static const LanguageTexts texts = [] {
        LanguageTexts loaded;
        LanguageScripts::LoadOperatorTexts(loaded, CliWorkDir());
        return loaded;
    }();
    return texts;
}

QString CliWorkDir() {
    // q517's own working directory, whatever this program is called. The application's name
    // is switched for a moment to ask for it: done once, before any target's thread runs, as
    // a target's thread asking meanwhile would get q517-cli's directory.
    static const QString dir = [] {
        const QString name = QCoreApplication::applicationName();
        QCoreApplication::setApplicationName(QStringLiteral("q517"));
        const QString found = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
        QCoreApplication::setApplicationName(name);
        return found;
    }();
    return dir;
}

PortMap::NetworkPorts CliNetworkPorts() {
    // q517's settings file, whatever this program is called. Read once: the targets of a line
    // ask from their own threads, and switching the application name under one of them would
    // send it to another settings file.
    static const PortMap::NetworkPorts ports = [] {
        const QString name = QCoreApplication::applicationName();
        QCoreApplication::setApplicationName(QStringLiteral("q517"));
        UserSettings settings;
        settings.Load(UserSettings::DefaultPath());
        QCoreApplication::setApplicationName(name);
        return settings.NetworkPorts();
    }();
    return ports;
}

CliDevice::CliDevice(const CliDeviceArgs& args) : CliDevice(args, prompts_) {}

CliDevice::CliDevice(const CliDeviceArgs& args, Prompts& prompts, const QString& workDir)
    : prompts_(args.yes) {
    session_ = std::make_unique<Session>(prompts, clock_, dialog_, workDir);
    Session& s = *session_;
    s.options.PortNumber = int16_t(args.port.value_or(s.options.PortNumber));
    s.options.BaudRate = args.baud;
    s.link.state.DeviceOverride = args.device;
    s.link.state.NetworkPorts = CliNetworkPorts();
    s.texts = CliTexts();
}

CliDevice::~CliDevice() {
    CloseSerialPort(session_->link);
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
        cliUsageError(self, out->rest.isEmpty() ? CliTexts().Text(561) : CliTexts().Text(562));
        return false;
    }
    *camFile = out->rest.first();
    return true;
}

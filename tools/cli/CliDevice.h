#pragma once

#include "dialogs/CommonDialog.h"
#include "dialogs/Prompts.h"
#include "link/Clock.h"
#include "shell/Session.h"

#include <QStringList>

struct LineArgs;
struct LineTarget;

#include <memory>
#include <optional>

// Messages as "TITLE: text" lines on standard error; questions answered from the command
// line: --yes answers Yes/OK, otherwise No/Cancel. Input boxes take their proposal with
// --yes and are cancelled otherwise.
class CliPrompts : public Prompts {
public:
    explicit CliPrompts(bool yes) : yes_(yes) {}
    Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& proposal) override;
    void setBusy(bool) override {}
    void processEvents() override;
    int shown() const { return shown_; }

private:
    bool yes_;
    int shown_ = 0;
};

// No dialogs on a command line: every file or printer choice is a cancel.
class CliDialogBackend : public CommonDialogBackend {
public:
    bool chooseFile(bool, const CommonDialog&, FileChoice&, int32_t& error) override;
    bool choosePrinter(const CommonDialog&, PrinterChoice&, int32_t& error) override;
};

// The programmer's working directory (where ports/COMn links live), found once.
QString CliWorkDir();
// The addresses of the network ports COM 65..96, from q517's per-user settings file.
PortMap::NetworkPorts CliNetworkPorts();

// What every device command (identify, send, receive, flash) takes from its arguments:
// --port N (the port map of the working directory and, for 65..96, the network ports of the
// settings file) or --device PATH (the port exists when PATH exists; rfc2217://HOST:PORT and
// tcp://HOST:PORT reach a network port), --baud B (default 9600) and --yes.
struct CliDeviceArgs {
    std::optional<int> port;
    QString device;
    QString baud = QStringLiteral("9600");
    bool yes = false;
    QStringList rest; // the arguments these options left over, in order
};
// Takes the device options out of args; false with problem set on a bad or missing one, or
// on more than one target: a command of one controller never picks one of several.
bool ParseDeviceArgs(const QStringList& args, CliDeviceArgs* out, QString* problem);
// The device options of one target of a production line.
CliDeviceArgs DeviceArgsFor(const LineTarget& target, const LineArgs& line);
// The device options and exactly one cam file, as send and receive take them. On a usage
// error it is printed with the command's usage and false comes back (exit status 2).
bool ParseDeviceAndCamFile(const QStringList& args, const QString& commandName, CliDeviceArgs* out,
                           QString* camFile);

// A Session on the real line, with the working directory and language texts of q517:
// the device commands run the same routines the windows do.
class CliDevice {
public:
    explicit CliDevice(const CliDeviceArgs& args);
    // With the prompts of one target of a production line in place of standard error, and
    // a working directory of its own where its transfer file must not meet another's.
    CliDevice(const CliDeviceArgs& args, Prompts& prompts, const QString& workDir = CliWorkDir());
    ~CliDevice();
    Session& session() { return *session_; }
    CliPrompts& prompts() { return prompts_; }

private:
    CliPrompts prompts_;
    SystemClock clock_;
    CliDialogBackend dialogBackend_;
    CommonDialog dialog_{dialogBackend_};
    std::unique_ptr<Session> session_;
};

// The language script the options file of the working directory names, found as q517 finds
// it (once); empty when it exists nowhere. A missing options file means q517's defaults.
QString CliLanguageScript();

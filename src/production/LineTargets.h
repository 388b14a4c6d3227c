#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include "link/PortMap.h"

class LanguageTexts;

// One controller of a production line: a port of the port map ("COM 3"), a device path or a
// network port's address (rfc2217://HOST:PORT, tcp://HOST:PORT).
struct LineTarget {
    int port = 0; // 1..96, or 0 when device names the line
    QString device;

    // "COM 3", or the device path as given.
    QString name() const;
    // The device the target opens: the port map's for a port number.
    QString devicePath(const QString& workDir, const PortMap::NetworkPorts& network = {}) const;
    bool operator==(const LineTarget& o) const { return port == o.port && device == o.device; }
};

// What the device commands take from their arguments: every --port N, --ports 3-8,12 and
// --device PATH (each may be repeated, targets keep the order given), one --baud B (default
// 9600), --yes and, for the commands that keep one, --report FILE.json.
struct LineArgs {
    QList<LineTarget> targets;
    QString baud = QStringLiteral("9600");
    bool yes = false;
    QString report;
    QStringList rest; // the arguments these options left over, in order
};

// Takes the target options out of args. False with problem set on a bad value, a target named
// twice, an option given twice that is taken once, or no target at all (worded in texts).
// Without withReport, --report is left in rest for the command to refuse.
bool ParseLineArgs(const QStringList& args, bool withReport, const LanguageTexts& texts,
                   LineArgs* out, QString* problem);

// "3-8,12" as ports 3, 4, 5, 6, 7, 8 and 12, each 1 to 96.
bool ParsePortList(const QString& text, const LanguageTexts& texts, QList<int>* ports,
                   QString* problem);

// Two targets that reach one device (a port whose link points at a device also named, or two
// links to one terminal) would fight over the line: the problem names them, else it is empty.
QString SharedDevice(const QList<LineTarget>& targets, const QString& workDir,
                     const LanguageTexts& texts, const PortMap::NetworkPorts& network = {});

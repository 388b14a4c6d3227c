#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

// A q517-sim of the build tree, run for one test: started with the given arguments, its
// device paths read from its first output lines (one per link it serves), and always killed
// when the test ends.
class SimProcess {
public:
    explicit SimProcess(const QStringList& arguments, int startMs = 10000, int links = 1);
    ~SimProcess();
    SimProcess(const SimProcess&) = delete;
    SimProcess& operator=(const SimProcess&) = delete;

    bool started() const { return !devicePath_.isEmpty(); }
    QString devicePath() const { return devicePath_; }
    QStringList devicePaths() const { return devicePaths_; }
    // Stops it with SIGTERM (as an operator's Ctrl+C would) and waits a bounded time.
    // True when it ended by itself with status 0.
    bool stop(int waitMs = 5000);
    // What it wrote on standard error so far.
    QString errorOutput();

    // The built programs.
    static QString SimBinary();
    static QString CliBinary();

private:
    QProcess process_;
    QString devicePath_;
    QStringList devicePaths_;
    QByteArray errors_;
};

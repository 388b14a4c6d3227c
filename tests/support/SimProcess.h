#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

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

    // A file's bytes; empty when it cannot be read.
    static QByteArray ReadFile(const QString& path);
    // What a simulator run with --store wrote: it writes the program it took after confirming
    // "END", so this waits a bounded time for the file to end with that line.
    static QByteArray WaitForStored(const QString& path, int timeoutMs = 10000);

    // The built programs.
    static QString SimBinary();
    static QString CliBinary();

private:
    // Its standard error goes to a file: a pipe nobody reads while a test waits on q517-cli
    // fills after some hundred transfers, and the simulator then stops answering.
    QTemporaryDir logDir_;
    QProcess process_;
    QString devicePath_;
    QStringList devicePaths_;
};

#pragma once

#include <QList>
#include <QProcess>
#include <QString>

// The machine's ser2net (tools/setup.sh installs it), started for one test: each bridge carries
// a device (a simulator's terminal) to a loopback TCP port nobody else uses, through telnet
// with RFC 2217 or raw. Killed when the test ends.
class Ser2net {
public:
    struct Bridge {
        QString device;
        bool raw = false;
    };
    // dir holds the generated configuration.
    Ser2net(const QList<Bridge>& bridges, const QString& dir);
    ~Ser2net();
    Ser2net(const Ser2net&) = delete;
    Ser2net& operator=(const Ser2net&) = delete;

    bool started() const { return problem_.isEmpty(); }
    QString problem() const { return problem_; }
    // "rfc2217://127.0.0.1:PORT" or "tcp://127.0.0.1:PORT" of bridge k.
    QString address(int k) const;
    // Ends it at once, as a crash or a pulled plug would.
    void kill();

private:
    bool start(const QString& dir);

    QList<Bridge> bridges_;
    QList<quint16> ports_;
    QProcess process_;
    QString problem_;
};

#include "support/Ser2net.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTcpServer>

namespace {
// Free loopback ports, all different: each is held until every one is found.
QList<quint16> freePorts(int count) {
    QList<QTcpServer*> holders;
    QList<quint16> ports;
    for (int k = 0; k < count; ++k) {
        auto* holder = new QTcpServer;
        holder->listen(QHostAddress::LocalHost);
        ports.append(holder->serverPort());
        holders.append(holder);
    }
    qDeleteAll(holders);
    return ports;
}

// Whether something listens on 127.0.0.1:port, read from the kernel's table so that no
// connection (which would open the device behind it) is made to find out.
bool listening(quint16 port) {
    QFile table(QStringLiteral("/proc/net/tcp"));
    if (!table.open(QIODevice::ReadOnly))
        return false;
    const QByteArray local =
        "0100007F:" + QByteArray::number(port, 16).toUpper().rightJustified(4, '0');
    for (const QByteArray& line : table.readAll().split('\n')) {
        const QList<QByteArray> fields = line.simplified().split(' ');
        if (fields.size() > 3 && fields[1] == local && fields[3] == "0A")
            return true;
    }
    return false;
}
} // namespace

Ser2net::Ser2net(const QList<Bridge>& bridges, const QString& dir) : bridges_(bridges) {
    const QString binary = QStandardPaths::findExecutable(QStringLiteral("ser2net"));
    if (binary.isEmpty()) {
        problem_ = QStringLiteral("ser2net is not installed (tools/setup.sh installs it)");
        return;
    }
    // A port taken by someone else between our look and ser2net's bind: new ports, again.
    for (int attempt = 0; attempt < 3; ++attempt)
        if (start(dir))
            return;
}

bool Ser2net::start(const QString& dir) {
    ports_ = freePorts(int(bridges_.size()));
    QString yaml;
    for (qsizetype k = 0; k < bridges_.size(); ++k)
        yaml += QStringLiteral("connection: &bridge%1\n"
                               "  accepter: %2tcp,127.0.0.1,%3\n"
                               "  connector: serialdev,%4,9600n81,local\n"
                               "  options:\n"
                               "    chardelay: false\n")
                    .arg(k)
                    .arg(bridges_[k].raw ? QString() : QStringLiteral("telnet(rfc2217),"))
                    .arg(ports_[k])
                    .arg(bridges_[k].device);
    const QString config = QDir(dir).filePath(QStringLiteral("ser2net.yaml"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly) || file.write(yaml.toUtf8()) != yaml.toUtf8().size()) {
        problem_ = QStringLiteral("cannot write ") + config;
        return false;
    }
    file.close();
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(QStandardPaths::findExecutable(QStringLiteral("ser2net")),
                   {QStringLiteral("-n"), QStringLiteral("-u"), QStringLiteral("-c"), config,
                    QStringLiteral("-P"), QDir(dir).filePath(QStringLiteral("ser2net.pid"))});
    const QDeadlineTimer deadline(10000);
    while (process_.state() != QProcess::NotRunning && !deadline.hasExpired()) {
        if (std::all_of(ports_.begin(), ports_.end(), listening)) {
            problem_.clear();
            return true;
        }
        process_.waitForFinished(50);
    }
    problem_ =
        QStringLiteral("ser2net did not listen: ") + QString::fromLocal8Bit(process_.readAll());
    kill();
    return false;
}

Ser2net::~Ser2net() {
    kill();
}

void Ser2net::kill() {
    if (process_.state() != QProcess::NotRunning) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

QString Ser2net::address(int k) const {
    return (bridges_.value(k).raw ? QStringLiteral("tcp://127.0.0.1:")
                                  : QStringLiteral("rfc2217://127.0.0.1:")) +
           QString::number(ports_.value(k));
}

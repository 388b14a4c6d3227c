#include "support/ScriptedServer.h"

#include "link/ComPortControl.h"
#include "link/TelnetDecoder.h"

#include <QDeadlineTimer>
#include <QString>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace Telnet;

ScriptedServer::ScriptedServer(const Script& script) : script_(script) {
    listenFd_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0; // the system picks a free port
    socklen_t size = sizeof address;
    if (::bind(listenFd_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listenFd_, 1) != 0 ||
        ::getsockname(listenFd_, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return;
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { serve(); });
}

ScriptedServer::~ScriptedServer() {
    stop_ = true;
    if (thread_.joinable())
        thread_.join();
    ::close(listenFd_);
}

QString ScriptedServer::address(bool raw) const {
    return (raw ? QStringLiteral("tcp://127.0.0.1:") : QStringLiteral("rfc2217://127.0.0.1:")) +
           QString::number(port_);
}

QByteArray ScriptedServer::received() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
}

QByteArray ScriptedServer::wire() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return wire_;
}

void ScriptedServer::answer(int fd, const QByteArray& bytes, bool mayDrop) {
    qsizetype sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.constData() + sent, size_t(bytes.size() - sent),
                                 MSG_NOSIGNAL | (mayDrop ? MSG_DONTWAIT : 0));
        if (n <= 0)
            return;
        sent += n;
    }
}

void ScriptedServer::serve() {
    pollfd waiting{listenFd_, POLLIN, 0};
    while (!stop_ && ::poll(&waiting, 1, 20) == 0) {
    }
    if (stop_)
        return;
    const int fd = ::accept4(listenFd_, nullptr, nullptr, SOCK_CLOEXEC);
    if (fd < 0)
        return;
    const bool raw = script_.kind == Script::Kind::Raw;
    const auto data = [&](const QByteArray& bytes) { return raw ? bytes : EscapeData(bytes); };
    if (!script_.greeting.isEmpty())
        answer(fd, data(script_.greeting));
    QByteArray endless(4096, 'x');
    if (script_.kind == Script::Kind::EndlessSubnegotiation)
        answer(fd, Bytes({IAC, SB, ComPortOption}));
    TelnetDecoder decoder;
    int dataBytes = 0;
    bool open = true;
    // Junk as a broken controller behind the server might send it, telnet between.
    const QByteArray flood = data(QByteArray(1000, 'x') + "\xff\x01") + Bytes({IAC, 241});
    QDeadlineTimer floodEnd;
    bool flooding = false;
    while (!stop_ && open) {
        if (script_.kind == Script::Kind::EndlessSubnegotiation)
            answer(fd, endless, true); // a client that stopped reading does not hold us
        if (flooding) {
            if (floodEnd.hasExpired())
                break;
            answer(fd, flood);
        }
        pollfd client{fd, POLLIN, 0};
        if (::poll(&client, 1, flooding ? 0 : 20) <= 0)
            continue;
        char chunk[4096];
        const ssize_t got = ::recv(fd, chunk, sizeof chunk, 0);
        leftInOrder_ = got == 0;
        if (got <= 0)
            break;
        QByteArray reply;
        for (ssize_t i = 0; i < got && open; ++i) {
            const uint8_t byte = uint8_t(chunk[i]);
            std::lock_guard<std::mutex> lock(mutex_);
            wire_.append(char(byte));
            const TelnetDecoder::Result result =
                raw ? TelnetDecoder::Result::Data : decoder.feed(byte);
            if (result == TelnetDecoder::Result::Data) {
                received_.append(char(byte));
                if (script_.echo)
                    reply += data(QByteArray(1, char(byte)));
                open = ++dataBytes != script_.hangUpAfterBytes;
                for (const auto& [command, answer] : std::as_const(script_.replies))
                    if (received_.endsWith(command))
                        reply += data(answer);
                if (!flooding && !script_.floodAfter.isEmpty() &&
                    received_.endsWith(script_.floodAfter)) {
                    flooding = true;
                    floodEnd = QDeadlineTimer(script_.floodMs);
                }
            } else if (result == TelnetDecoder::Result::Command && decoder.command() == WILL &&
                       decoder.option() == ComPortOption) {
                if (script_.kind == Script::Kind::RefuseComPort) {
                    reply += OptionCommand(DONT, ComPortOption);
                } else if (script_.kind == Script::Kind::ComPort) {
                    reply += OptionCommand(DO, ComPortOption);
                    reply += ComPort::Request(
                        ComPort::Command(ComPort::NotifyModemState + ComPort::ServerOffset),
                        QByteArray(1, char(script_.modemState)));
                }
            } else if (result == TelnetDecoder::Result::Subnegotiation &&
                       script_.kind == Script::Kind::ComPort && !decoder.payload().isEmpty()) {
                const uint8_t command = uint8_t(decoder.payload().at(0));
                QByteArray value = decoder.payload().mid(1);
                if (command == ComPort::SetBaudRate && script_.answeredBaud > 0)
                    value = ComPort::BaudValue(script_.answeredBaud);
                if (command != ComPort::SetModemStateMask)
                    reply +=
                        ComPort::Request(ComPort::Command(command + ComPort::ServerOffset), value);
            }
        }
        answer(fd, reply);
    }
    ::close(fd);
}

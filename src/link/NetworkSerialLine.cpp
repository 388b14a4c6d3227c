#include "link/NetworkSerialLine.h"

#include "model/LanguageTexts.h"

#include <QDeadlineTimer>

#include <algorithm>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

using namespace Telnet;

NetworkSerialLine::NetworkSerialLine(const LanguageTexts& texts, int answerMs)
    : texts_(texts), answerMs_(answerMs) {}

SerialLine::Opened NetworkSerialLine::open(const QString& device, QString* errorText) {
    close();
    QString problem;
    if (!NetworkAddress::Parse(device, texts_, &address_, &problem)) {
        if (errorText)
            *errorText = problem;
        return Opened::Failed;
    }
    socket_.setReadBufferSize(ReadBufferBytes);
    socket_.connectToHost(address_.host, address_.port);
    if (!socket_.waitForConnected(ConnectMs)) {
        if (errorText)
            *errorText = socket_.error() == QAbstractSocket::SocketTimeoutError
                             ? texts_.Text(600).arg(ConnectMs / 1000).arg(socket_.errorString())
                             : socket_.errorString();
        socket_.abort();
        return Opened::Failed;
    }
    socket_.setSocketOption(QAbstractSocket::LowDelayOption, 1);
    open_ = true;
    if (address_.kind == NetworkAddress::Kind::RawTcp) {
        answers_ << texts_.Text(601).arg(address_.hostAndPort());
        return Opened::Yes;
    }
    if (!negotiate(errorText)) {
        close();
        return Opened::Failed;
    }
    return Opened::Yes;
}

void NetworkSerialLine::close() {
    if (socket_.state() != QAbstractSocket::UnconnectedState) {
        if (open_ && broken_.isEmpty())
            leaveGently();
        socket_.abort();
    }
    open_ = false;
    unanswered_ = 0;
    baud_ = DefaultBaud;
    decoder_.reset();
    data_.clear();
    head_ = 0;
    broken_.clear();
    refused_.clear();
    answers_.clear();
    greeting_.clear();
    negotiating_ = false;
    weDo_.reset();
    theyDo_.reset();
    askedWill_.reset();
    askedDo_.reset();
    refusedDo_.reset();
    refusedWill_.reset();
    comPortRefused_ = false;
    modemState_ = -1;
    lastAnswer_.clear();
}

void NetworkSerialLine::sendRaw(const QByteArray& bytes) {
    if (socket_.state() == QAbstractSocket::ConnectedState)
        socket_.write(bytes);
}

void NetworkSerialLine::noteBroken(const QString& cause) {
    if (broken_.isEmpty())
        broken_ = cause;
}

// A server that holds its small writes until the last one is acknowledged (Nagle's rule, as
// ser2net does by default) would otherwise wait out our delayed acknowledgement, up to 40 ms,
// whenever it sends a frame, a controller's ACK or a setting's answer in two pieces. The
// kernel drops back to delayed acknowledgements by itself, so this is asked before every wait.
void NetworkSerialLine::acknowledgeAtOnce() {
#ifdef TCP_QUICKACK
    const int on = 1;
    ::setsockopt(int(socket_.socketDescriptor()), IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
#endif
}

void NetworkSerialLine::pump(int waitMs) {
    if (!open_ || !broken_.isEmpty())
        return;
    if (socket_.bytesAvailable() == 0 && socket_.state() == QAbstractSocket::ConnectedState &&
        waitMs >= 0) {
        acknowledgeAtOnce();
        socket_.waitForReadyRead(waitMs);
    }
    char chunk[4096];
    while (socket_.bytesAvailable() > 0 && pending() < ReadBufferBytes && broken_.isEmpty()) {
        const qint64 room = std::min<qint64>(sizeof chunk, ReadBufferBytes - pending());
        const qint64 got = socket_.read(chunk, room);
        if (got <= 0)
            break;
        for (qint64 i = 0; i < got && broken_.isEmpty(); ++i)
            take(uint8_t(chunk[i]));
    }
    if (socket_.state() != QAbstractSocket::ConnectedState && socket_.bytesAvailable() == 0)
        noteBroken(texts_.Text(608).arg(socket_.errorString()));
}

void NetworkSerialLine::take(uint8_t byte) {
    if (address_.kind == NetworkAddress::Kind::RawTcp) {
        data_.append(char(byte));
        unanswered_ = 0;
        return;
    }
    switch (decoder_.feed(byte)) {
    case TelnetDecoder::Result::More:
        break;
    case TelnetDecoder::Result::Data:
        data_.append(char(decoder_.data()));
        unanswered_ = 0;
        if (negotiating_ && greeting_.size() < 512)
            greeting_.append(char(decoder_.data()));
        break;
    case TelnetDecoder::Result::Command:
        answerOption(decoder_.command(), decoder_.option());
        break;
    case TelnetDecoder::Result::Subnegotiation:
        if (decoder_.option() == ComPortOption)
            takeComPort(decoder_.payload());
        break;
    case TelnetDecoder::Result::Broken:
        noteBroken(decoder_.cause(texts_));
        break;
    }
    // Compacting the consumed front keeps reading one byte at a time cheap.
    if (head_ > 4096 && head_ * 2 > data_.size()) {
        data_.remove(0, head_);
        head_ = 0;
    }
}

int NetworkSerialLine::bytesWaiting() {
    if (pending() == 0)
        pump(0);
    return int(pending());
}

std::optional<uint8_t> NetworkSerialLine::readByte(int timeoutMs) {
    if (!open_ || !broken_.isEmpty())
        return std::nullopt;
    const QDeadlineTimer deadline(qMax(0, timeoutMs));
    while (pending() == 0) {
        pump(int(deadline.remainingTime()));
        if (pending() > 0)
            break;
        if (!broken_.isEmpty() || deadline.hasExpired())
            return std::nullopt;
    }
    return uint8_t(data_.at(head_++));
}

// Our last bytes, often the acknowledgement of the controller's "END", must be on the serial
// line before the server learns that we left: a server may throw away what it has not yet
// written to the device when its client goes (ser2net does on a terminal without an output
// queue), and the controller would then resend "END" into the next command. An answer from
// the controller proves they arrived; without one we give them their time on the line. Then
// we close our half and wait for the server to close its own, so that the port is free for
// the next command when we return: a new client that comes too early is turned away.
void NetworkSerialLine::leaveGently() {
    flush(LeaveMs);
    if (unanswered_ > 0) {
        const qint64 lineMs = unanswered_ * BitsPerByte * 1000 / std::max(baud_, 1);
        const QDeadlineTimer onTheLine(
            std::max<qint64>(0, lineMs + ServerSettleMs - sinceWrite_.elapsed()));
        while (!onTheLine.hasExpired() && socket_.state() == QAbstractSocket::ConnectedState) {
            socket_.waitForReadyRead(int(onTheLine.remainingTime()));
            socket_.readAll(); // read, so that our close is an orderly one and no reset
        }
    }
    if (socket_.state() != QAbstractSocket::ConnectedState)
        return;
    ::shutdown(int(socket_.socketDescriptor()), SHUT_WR);
    const QDeadlineTimer closed(LeaveMs);
    while (socket_.state() == QAbstractSocket::ConnectedState && !closed.hasExpired()) {
        socket_.waitForReadyRead(int(closed.remainingTime()));
        socket_.readAll();
    }
}

bool NetworkSerialLine::write(const QByteArray& bytes) {
    if (!open_ || !broken_.isEmpty() || socket_.state() != QAbstractSocket::ConnectedState)
        return false;
    const QByteArray wire =
        address_.kind == NetworkAddress::Kind::RawTcp ? bytes : EscapeData(bytes);
    unanswered_ += bytes.size();
    sinceWrite_.start();
    return socket_.write(wire) == wire.size();
}

bool NetworkSerialLine::flush(int timeoutMs) {
    const QDeadlineTimer deadline(qMax(0, timeoutMs));
    while (open_ && broken_.isEmpty() && socket_.bytesToWrite() > 0) {
        if (deadline.hasExpired() || !socket_.waitForBytesWritten(int(deadline.remainingTime()))) {
            if (socket_.state() != QAbstractSocket::ConnectedState)
                pump(0);
            break;
        }
    }
    return socket_.bytesToWrite() == 0 && broken_.isEmpty();
}

// The server is asked to purge only when there is something to purge: its answer, sent just
// before the controller's next bytes, would hold those back until our acknowledgement (Nagle's
// algorithm against a delayed acknowledgement, up to 40 ms), once for every frame.
void NetworkSerialLine::clearInput() {
    if (!open_)
        return;
    // What the socket holds now goes too (its commands are still taken); a server that keeps
    // sending is not waited out.
    bool discarded = pending() > 0;
    data_.clear();
    head_ = 0;
    pump(-1);
    discarded = discarded || pending() > 0;
    data_.clear();
    head_ = 0;
    if (discarded && address_.kind == NetworkAddress::Kind::Rfc2217)
        sendRaw(ComPort::Request(ComPort::PurgeData, QByteArray(1, char(ComPort::PurgeReceived))));
}

void NetworkSerialLine::discardOutput() {
    // What has gone into the socket cannot be called back; the server can drop what it has
    // not yet written to the controller, which is only worth asking while our own bytes wait.
    if (open_ && address_.kind == NetworkAddress::Kind::Rfc2217 && socket_.bytesToWrite() > 0)
        sendRaw(
            ComPort::Request(ComPort::PurgeData, QByteArray(1, char(ComPort::PurgeTransmitted))));
}

NetworkProbe ProbeNetworkPort(const QString& address, int baud, const LanguageTexts& texts,
                              int answerMs) {
    NetworkProbe probe;
    NetworkSerialLine line(texts, answerMs);
    QString why;
    if (line.open(address, &why) != SerialLine::Opened::Yes) {
        probe.cause = why;
        return probe;
    }
    probe.connected = true;
    if (!line.setBaudRate(baud))
        probe.cause = line.settingsCause();
    else
        line.setHardwareFlowControl(true);
    if (probe.cause.isEmpty())
        probe.cause = line.settingsCause();
    probe.ready = probe.cause.isEmpty() && line.ctsAsserted();
    probe.answers = line.serverAnswers();
    line.close();
    return probe;
}

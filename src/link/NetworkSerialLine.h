#pragma once

#include "link/ComPortControl.h"
#include "link/NetworkAddress.h"
#include "link/SerialLine.h"
#include "link/TelnetDecoder.h"

#include <QElapsedTimer>
#include <QStringList>
#include <QTcpSocket>

#include <bitset>
#include <map>

class LanguageTexts;

// The serial line of a controller behind a serial device server, over TCP: "rfc2217://" sets
// the line through the server (speed, 8 data bits, no parity, 1 stop bit, RTS/CTS) and learns
// CTS from its modem state; "tcp://" carries the bytes as they are, with the line as the
// server has it and CTS taken as ready. Every wait blocks on the socket with a deadline. What
// it says of the server (its causes, its answers) is worded in the operator's texts.
class NetworkSerialLine : public SerialLine {
public:
    // What is kept of data bytes not yet read: a server that floods us is throttled by TCP.
    static constexpr qint64 ReadBufferBytes = 64 * 1024;
    static constexpr int ConnectMs = 3000;
    // The longest a close waits for our bytes to leave and for the server to close its end.
    static constexpr int LeaveMs = 500;
    // What a server takes to pass a byte from its socket to its device.
    static constexpr int ServerSettleMs = 50;

    // answerMs: how long the server has to answer each negotiation and setting. texts must
    // outlive the line.
    explicit NetworkSerialLine(const LanguageTexts& texts, int answerMs = 3000);

    Opened open(const QString& device, QString* errorText) override;
    void close() override;
    bool isOpen() const override { return open_; }
    bool setBaudRate(int baud) override;
    void setHardwareFlowControl(bool on) override;
    bool ctsAsserted() const override;
    QString settingsCause() const override { return refused_; }
    int bytesWaiting() override;
    std::optional<uint8_t> readByte(int timeoutMs) override;
    QString brokenCause() const override { return broken_; }
    bool write(const QByteArray& bytes) override;
    bool flush(int timeoutMs) override;
    void clearInput() override;
    void discardOutput() override;

    // What the server told us since the line opened, one line each ("speed 9600", "CTS on").
    const QStringList& serverAnswers() const { return answers_; }

private:
    // Takes what the socket holds, waiting at most waitMs for it when nothing is there.
    void acknowledgeAtOnce();
    void pump(int waitMs);
    void take(uint8_t byte);
    void answerOption(uint8_t command, uint8_t option);
    void takeComPort(const QByteArray& payload);
    void noteBroken(const QString& cause);
    // Sends a setting and waits for the server to confirm the value asked.
    bool setAndConfirm(ComPort::Command command, const QByteArray& value);
    bool negotiate(QString* errorText);
    void sendRaw(const QByteArray& bytes);
    void leaveGently();
    qsizetype pending() const { return data_.size() - head_; }

    const LanguageTexts& texts_;
    int answerMs_;
    QTcpSocket socket_;
    NetworkAddress address_;
    TelnetDecoder decoder_;
    QByteArray data_;
    qsizetype head_ = 0;
    bool open_ = false;
    static constexpr int DefaultBaud = 9600;
    static constexpr int BitsPerByte = 10; // start, 8 data, stop
    int baud_ = DefaultBaud;
    // Data bytes written since the controller last sent one, and the time since the last.
    qint64 unanswered_ = 0;
    QElapsedTimer sinceWrite_;
    QString broken_;
    QString refused_;
    QStringList answers_;
    // Data the server sent while the line was being opened (a banner, its own complaint).
    QByteArray greeting_;

    // Telnet options: what each side does, and what we have asked for or refused already.
    std::bitset<256> weDo_, theyDo_, askedWill_, askedDo_, refusedDo_, refusedWill_;
    bool negotiating_ = false;
    bool comPortRefused_ = false;
    int modemState_ = -1; // the last NOTIFY-MODEMSTATE, -1 before one came
    std::map<uint8_t, QByteArray> lastAnswer_;
};

// What Set Commport's Test shows of a network port: whether it connected, what the server
// answered to the line's settings at baud, and whether the controller is ready.
struct NetworkProbe {
    bool connected = false;
    bool ready = false;
    QStringList answers;
    QString cause; // why the port is not usable; empty when it is
};
NetworkProbe ProbeNetworkPort(const QString& address, int baud, const LanguageTexts& texts,
                              int answerMs = 3000);

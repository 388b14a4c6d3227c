#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

// A serial device server played in the test process, on a thread of its own (the line under
// test blocks on its socket): it listens on a free loopback port, takes one client and behaves
// as its script says, recording the data bytes the client sent.
class ScriptedServer {
public:
    struct Script {
        enum class Kind {
            ComPort,               // accepts COM-PORT-OPTION and confirms every setting
            RefuseComPort,         // answers WILL COM-PORT-OPTION with DONT
            Silent,                // accepts the connection and says nothing
            EndlessSubnegotiation, // starts a subnegotiation and never ends it
            Raw,                   // plain bytes: no telnet at all
        } kind = Kind::ComPort;
        int modemState = 0x30;     // NOTIFY-MODEMSTATE sent when COM-PORT-OPTION is accepted
        int answeredBaud = 0;      // the speed it confirms instead of the one asked (0: as asked)
        bool echo = false;         // sends every data byte back (0xFF doubled, unless raw)
        QByteArray greeting;       // data sent (0xFF doubled, unless raw) once the client is in
        int hangUpAfterBytes = -1; // closes the connection after this many data bytes came
        // Data the client sends (a command line) and the data sent back when it has come.
        QList<QPair<QByteArray, QByteArray>> replies;
        // Once the client has sent this, data without end (never an STX or CR, telnet
        // commands between) streams for floodMs, and then the connection closes.
        QByteArray floodAfter;
        int floodMs = 0;
    };

    explicit ScriptedServer(const Script& script);
    ~ScriptedServer();
    ScriptedServer(const ScriptedServer&) = delete;
    ScriptedServer& operator=(const ScriptedServer&) = delete;

    uint16_t port() const { return port_; }
    // "rfc2217://127.0.0.1:PORT" or "tcp://127.0.0.1:PORT".
    QString address(bool raw = false) const;
    // The data bytes the client sent so far (IAC doubling undone).
    QByteArray received() const;
    // Every byte the client sent, telnet commands included.
    QByteArray wire() const;
    // Whether the client ended the connection in order (its end closed, no reset).
    bool clientLeftInOrder() const { return leftInOrder_; }

private:
    void serve();
    void answer(int fd, const QByteArray& bytes, bool mayDrop = false);

    Script script_;
    int listenFd_ = -1;
    uint16_t port_ = 0;
    std::atomic<bool> stop_{false};
    std::atomic<bool> leftInOrder_{false};
    mutable std::mutex mutex_;
    QByteArray received_;
    QByteArray wire_;
    std::thread thread_;
};

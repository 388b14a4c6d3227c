#pragma once

#include <QString>

#include <cstdint>
#include <optional>

class LanguageTexts;

// Where a network serial port is: "rfc2217://HOST:PORT" (telnet with com port control, the
// client sets the line) or "tcp://HOST:PORT" (the bytes as they are, the line as the server has
// it). HOST is a name, an IPv4 address or an IPv6 address in brackets.
struct NetworkAddress {
    enum class Kind { Rfc2217, RawTcp };
    Kind kind = Kind::Rfc2217;
    QString host;
    uint16_t port = 0;

    // Whether text names a network port at all (SCHEME://...) rather than a device path.
    static bool IsNetwork(const QString& text);
    // The address text names; nothing when the scheme is unknown, the port is missing or not
    // 1 to 65535, or something else is wrong with it (Parse says what).
    static std::optional<NetworkAddress> Read(const QString& text);
    // Read, with problem set in the words of texts ("TEXT: no port (HOST:PORT)") when it fails.
    static bool Parse(const QString& text, const LanguageTexts& texts, NetworkAddress* out,
                      QString* problem);
    // Parse, and the host must resolve: everything that can be refused before a byte is sent.
    static bool Check(const QString& text, const LanguageTexts& texts, QString* problem);

    // "HOST:PORT", an IPv6 host in brackets.
    QString hostAndPort() const;
};

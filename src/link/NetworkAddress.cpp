#include "link/NetworkAddress.h"

#include "model/LanguageTexts.h"

#include <QHostAddress>
#include <QHostInfo>

#include <algorithm>

namespace {
const QString Separator = QStringLiteral("://");

// What is wrong with an address, and the part of it that is.
struct Reading {
    enum class Fault {
        None,
        NotNetwork,
        UnknownScheme,
        NoClosingBracket,
        NotIpv6,
        Ipv6WithoutBrackets,
        NoHost,
        NotAHost,
        NoPort,
        PortOutOfRange,
    };
    NetworkAddress address;
    Fault fault = Fault::None;
    QString part;
};

Reading ReadAddress(const QString& text) {
    using Fault = Reading::Fault;
    Reading reading;
    const auto bad = [&](Fault fault, const QString& part = QString()) {
        reading.fault = fault;
        reading.part = part;
        return reading;
    };
    const qsizetype cut = text.indexOf(Separator);
    if (cut < 0)
        return bad(Fault::NotNetwork);
    const QString scheme = text.left(cut).toLower();
    NetworkAddress& address = reading.address;
    if (scheme == QLatin1String("rfc2217"))
        address.kind = NetworkAddress::Kind::Rfc2217;
    else if (scheme == QLatin1String("tcp"))
        address.kind = NetworkAddress::Kind::RawTcp;
    else
        return bad(Fault::UnknownScheme, scheme);
    QString rest = text.mid(cut + Separator.size());
    if (rest.endsWith(QLatin1Char('/')))
        rest.chop(1);
    qsizetype colon = -1;
    if (rest.startsWith(QLatin1Char('['))) {
        const qsizetype close = rest.indexOf(QLatin1Char(']'));
        if (close < 0)
            return bad(Fault::NoClosingBracket);
        address.host = rest.mid(1, close - 1);
        // Only the port may follow the brackets.
        if (close + 1 < rest.size() && rest.at(close + 1) != QLatin1Char(':'))
            return bad(Fault::NoPort);
        colon = close + 1 < rest.size() ? close + 1 : -1;
        if (QHostAddress(address.host).protocol() != QAbstractSocket::IPv6Protocol)
            return bad(Fault::NotIpv6, address.host);
    } else {
        colon = rest.lastIndexOf(QLatin1Char(':'));
        address.host = colon < 0 ? rest : rest.left(colon);
        if (address.host.contains(QLatin1Char(':')))
            return bad(Fault::Ipv6WithoutBrackets, address.host);
    }
    if (address.host.isEmpty())
        return bad(Fault::NoHost);
    if (address.host.contains(QLatin1Char('/')) || address.host.contains(QLatin1Char('@')) ||
        address.host.contains(QLatin1Char(' ')))
        return bad(Fault::NotAHost, address.host);
    if (colon < 0 || colon + 1 >= rest.size())
        return bad(Fault::NoPort);
    const QString portText = rest.mid(colon + 1);
    bool ok = false;
    const uint port = portText.toUInt(&ok);
    const bool digits =
        std::all_of(portText.begin(), portText.end(), [](QChar c) { return c.isDigit(); });
    if (!ok || !digits || port < 1 || port > 65535)
        return bad(Fault::PortOutOfRange, portText);
    address.port = uint16_t(port);
    return reading;
}

QString Worded(const Reading& reading, const LanguageTexts& texts) {
    using Fault = Reading::Fault;
    switch (reading.fault) {
    case Fault::None:
        break;
    case Fault::NotNetwork:
        return texts.Text(620);
    case Fault::UnknownScheme:
        return texts.Text(621).arg(reading.part);
    case Fault::NoClosingBracket:
        return texts.Text(622);
    case Fault::NotIpv6:
        return texts.Text(623).arg(reading.part);
    case Fault::Ipv6WithoutBrackets:
        return texts.Text(624).arg(reading.part);
    case Fault::NoHost:
        return texts.Text(625);
    case Fault::NotAHost:
        return texts.Text(626).arg(reading.part);
    case Fault::NoPort:
        return texts.Text(627);
    case Fault::PortOutOfRange:
        return texts.Text(628).arg(reading.part);
    }
    return QString();
}
} // namespace

bool NetworkAddress::IsNetwork(const QString& text) {
    return text.contains(Separator);
}

std::optional<NetworkAddress> NetworkAddress::Read(const QString& text) {
    const Reading reading = ReadAddress(text);
    if (reading.fault != Reading::Fault::None)
        return std::nullopt;
    return reading.address;
}

bool NetworkAddress::Parse(const QString& text, const LanguageTexts& texts, NetworkAddress* out,
                           QString* problem) {
    const Reading reading = ReadAddress(text);
    if (reading.fault != Reading::Fault::None) {
        *problem = text + QStringLiteral(": ") + Worded(reading, texts);
        return false;
    }
    *out = reading.address;
    return true;
}

bool NetworkAddress::Check(const QString& text, const LanguageTexts& texts, QString* problem) {
    NetworkAddress address;
    if (!Parse(text, texts, &address, problem))
        return false;
    if (!QHostAddress(address.host).isNull())
        return true;
    const QHostInfo found = QHostInfo::fromName(address.host);
    if (found.error() != QHostInfo::NoError || found.addresses().isEmpty()) {
        *problem =
            text + QStringLiteral(": ") + texts.Text(629).arg(address.host, found.errorString());
        return false;
    }
    return true;
}

QString NetworkAddress::hostAndPort() const {
    const QString shown = host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(host) : host;
    return shown + QLatin1Char(':') + QString::number(port);
}

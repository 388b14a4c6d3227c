#include "link/NetworkAddress.h"

#include <QHostAddress>
#include <QHostInfo>

#include <algorithm>

namespace {
const QString Separator = QStringLiteral("://");
}

bool NetworkAddress::IsNetwork(const QString& text) {
    return text.contains(Separator);
}

bool NetworkAddress::Parse(const QString& text, NetworkAddress* out, QString* problem) {
    const auto bad = [&](const QString& why) {
        *problem = text + QStringLiteral(": ") + why;
        return false;
    };
    const qsizetype cut = text.indexOf(Separator);
    if (cut < 0)
        return bad(QStringLiteral("not a network port (rfc2217://HOST:PORT or tcp://HOST:PORT)"));
    const QString scheme = text.left(cut).toLower();
    NetworkAddress address;
    if (scheme == QLatin1String("rfc2217"))
        address.kind = Kind::Rfc2217;
    else if (scheme == QLatin1String("tcp"))
        address.kind = Kind::RawTcp;
    else
        return bad(QStringLiteral("unknown scheme '%1' (rfc2217:// or tcp://)").arg(scheme));
    QString rest = text.mid(cut + Separator.size());
    if (rest.endsWith(QLatin1Char('/')))
        rest.chop(1);
    qsizetype colon = -1;
    if (rest.startsWith(QLatin1Char('['))) {
        const qsizetype close = rest.indexOf(QLatin1Char(']'));
        if (close < 0)
            return bad(QStringLiteral("an IPv6 address without its closing bracket"));
        address.host = rest.mid(1, close - 1);
        if (close + 1 < rest.size() && rest.at(close + 1) != QLatin1Char(':'))
            return bad(QStringLiteral("text after the address"));
        colon = close + 1 < rest.size() ? close + 1 : -1;
        if (QHostAddress(address.host).protocol() != QAbstractSocket::IPv6Protocol)
            return bad(QStringLiteral("'%1' is not an IPv6 address").arg(address.host));
    } else {
        colon = rest.lastIndexOf(QLatin1Char(':'));
        address.host = colon < 0 ? rest : rest.left(colon);
        if (address.host.contains(QLatin1Char(':')))
            return bad(QStringLiteral("an IPv6 address goes in brackets: [%1]").arg(address.host));
    }
    if (address.host.isEmpty())
        return bad(QStringLiteral("no host"));
    if (address.host.contains(QLatin1Char('/')) || address.host.contains(QLatin1Char('@')) ||
        address.host.contains(QLatin1Char(' ')))
        return bad(QStringLiteral("'%1' is not a host").arg(address.host));
    if (colon < 0 || colon + 1 >= rest.size())
        return bad(QStringLiteral("no port (HOST:PORT)"));
    const QString portText = rest.mid(colon + 1);
    bool ok = false;
    const uint port = portText.toUInt(&ok);
    const bool digits =
        std::all_of(portText.begin(), portText.end(), [](QChar c) { return c.isDigit(); });
    if (!ok || !digits || port < 1 || port > 65535)
        return bad(QStringLiteral("port '%1' is not 1 to 65535").arg(portText));
    address.port = uint16_t(port);
    *out = address;
    return true;
}

bool NetworkAddress::Check(const QString& text, QString* problem) {
    NetworkAddress address;
    if (!Parse(text, &address, problem))
        return false;
    if (!QHostAddress(address.host).isNull())
        return true;
    const QHostInfo found = QHostInfo::fromName(address.host);
    if (found.error() != QHostInfo::NoError || found.addresses().isEmpty()) {
        *problem = text + QStringLiteral(": host '%1' does not resolve (%2)")
                              .arg(address.host, found.errorString());
        return false;
    }
    return true;
}

QString NetworkAddress::hostAndPort() const {
    const QString shown = host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]").arg(host) : host;
    return shown + QLatin1Char(':') + QString::number(port);
}

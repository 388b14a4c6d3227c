#include "link/Identification.h"

#include "link/Clock.h"
#include "link/LineProtocol.h"
#include "link/LinkContext.h"
#include "link/LinkOutcome.h"
#include "model/CamProgram.h"
#include "model/NumberForms.h"
#include "model/TextFile.h"

#include <algorithm>
#include <cstdlib>

namespace {
constexpr int MaxAttempts = 6;
constexpr int RetryPauseMs = 50;
constexpr int TypeQueryPauseMs = 100;
constexpr int IdentificationLength = 9;

// Two characters at 1-based position pos read as a decimal number, sign ignored; false
// when the position falls before the start of the line.
bool readCount(const QString& reply, int pos, int* value) {
    if (pos < 1)
        return false;
    *value = int(std::llabs(
        NumberForms::LeadingNumber(reply.mid(pos - 1, 2), NumberForms::Rounding::Truncate)));
    return true;
}
} // namespace

IdentReplyFields ParseIdentReply(const QString& reply) {
    IdentReplyFields fields;
    fields.italyPosition = int(reply.indexOf(QStringLiteral("ITALY"))) + 1;
    fields.found = fields.italyPosition >= 6;
    if (fields.found) {
        const int p = fields.italyPosition;
        fields.formatCountRead = readCount(reply, p - 18, &fields.formatCount);
        fields.camCountRead = readCount(reply, p - 21, &fields.camCount);
    }
    const qsizetype yDash = reply.indexOf(QStringLiteral("Y-"));
    if (yDash >= 0)
        fields.identification = reply.mid(yDash + 2, IdentificationLength);
    return fields;
}

ControllerTypeParts ReadControllerType(const QString& identReply, const QString& typeReply) {
    ControllerTypeParts parts;
    parts.identification = identReply.mid(27, IdentificationLength);
    const qsizetype dash = typeReply.indexOf(QLatin1Char('-'));
    if (dash >= 0) {
        parts.model = typeReply.mid(std::max<qsizetype>(0, dash - 2), 8);
        parts.version = typeReply.mid(dash + 1, 5);
    }
    return parts;
}

Identification IdentifyController(const LinkContext& context) {
    LinkState& link = context.link.state;
    link.PortStatus = LinkStatus::Ready;
    link.ReadFailed = false;
    OpenSerialPort(context);
    const auto refused = [&context](IdentifyResult result, const QString& message,
                                    const QString& cause, const QString& stage) {
        return Identification{result, Outcome::Refusal(message, LinkPlace(context), cause, stage)};
    };
    if (link.PortStatus != LinkStatus::Ready)
        return refused(IdentifyResult::PortNotReady, context.Text(51), link.OpenCause,
                       context.Text(161));

    const QString asking = context.Text(163);
    IdentReplyFields fields;
    for (int attempt = 1; attempt <= MaxAttempts; ++attempt) {
        QByteArray command("?M");
        QString why;
        link.IdentReply = TextFile::DecodeCp1252(SerialComStr(context, command, &why));
        fields = ParseIdentReply(link.IdentReply);
        if (fields.found)
            break;
        if (link.ReadFailed)
            return Identification{
                IdentifyResult::NoAnswer,
                Outcome::Failure(context.Text(234), LinkPlace(context), why, asking)};
        if (attempt < MaxAttempts)
            context.link.clock().sleepMs(RetryPauseMs);
    }
    if (!fields.found)
        return refused(IdentifyResult::NotFound, context.Text(235),
                       context.Text(225).arg(MaxAttempts), asking);

    link.IdentCamCount = fields.camCountRead ? fields.camCount : 0;
    link.IdentFormatCount = fields.formatCountRead ? fields.formatCount : 0;
    link.IdentDevice = context.link.device();
    if (!fields.camCountRead || !fields.formatCountRead ||
        !CamProgram::IsValidPair(fields.camCount, fields.formatCount))
        return refused(IdentifyResult::BadPair, context.Text(235),
                       fields.camCountRead && fields.formatCountRead
                           ? context.Text(226).arg(fields.camCount).arg(fields.formatCount)
                           : context.Text(227),
                       asking);

    context.link.clock().sleepMs(TypeQueryPauseMs);
    QByteArray command("?T");
    link.TypeReply = TextFile::DecodeCp1252(SerialComStr(context, command));
    return Identification{IdentifyResult::Identified, Outcome::Done()};
}

QString ControllerDesignation(int camCount, int formatCount) {
    return QLatin1Char('C') + QString::number(camCount) + QLatin1Char('-') +
           QString::number(formatCount);
}

#include "link/ControllerSearch.h"
#include "model/LanguageTexts.h"

#include "link/Clock.h"
#include "link/ControllerLink.h"
#include "link/Identification.h"
#include "link/LineCauses.h"
#include "link/LineCodec.h"
#include "link/LineProtocol.h"
#include "model/CamProgram.h"
#include "model/TextFile.h"

namespace {

PortAnswer refusedOpening(const LinkOpening& opening) {
    switch (opening.status) {
    case LinkStatus::NoSuchPort:
        return {PortAnswer::Kind::Vanished, QString(), opening.cause, opening.device};
    case LinkStatus::InUse:
        return {PortAnswer::Kind::InUse, QString(), opening.cause, opening.device};
    case LinkStatus::NotReady:
        return {PortAnswer::Kind::NotReady, QString(), opening.cause, opening.device};
    case LinkStatus::OpenFailed:
    case LinkStatus::SettingsRefused:
    case LinkStatus::Ready:
        break;
    }
    return {PortAnswer::Kind::Failed, QString(), opening.cause, opening.device};
}

} // namespace

PortAnswer AskPortForController(ControllerLink& link, int port, int baud,
                                const std::function<void()>& betweenSlices) {
    const LinkOpening opening = link.open(port, baud);
    if (!opening.ready()) {
        link.close();
        return refusedOpening(opening);
    }
    link.clearInput();
    PortAnswer answer;
    if (!link.send(LineCodec::CommandLine("?M"))) {
        answer = {PortAnswer::Kind::Failed, QString(), LineCause::NotWritten, link.device()};
        link.close();
        return answer;
    }
    const ReplyLine reply = ReceiveReplyLine(link, betweenSlices);
    const QString cause = link.brokenCause();
    const QString device = link.device();
    link.close();
    if (reply.kind == ReplyLine::Broken)
        return {PortAnswer::Kind::Failed, QString(), cause, device};
    // Silence, or a port that streams without a CR, is no controller answering.
    const IdentReplyFields fields = ParseIdentReply(
        TextFile::DecodeCp1252(reply.kind == ReplyLine::Line ? reply.bytes : QByteArray()));
    if (!fields.found)
        return answer;
    if (!fields.camCountRead || !fields.formatCountRead ||
        !CamProgram::IsValidPair(fields.camCount, fields.formatCount))
        return {PortAnswer::Kind::Unreadable, QString(), QString(), QString()};
    return {PortAnswer::Kind::Controller,
            ControllerDesignation(fields.camCount, fields.formatCount), QString(), QString()};
}

QString PortAnswerText(const PortAnswer& answer, const LanguageTexts& texts) {
    QString text;
    switch (answer.kind) {
    case PortAnswer::Kind::Controller:
        return answer.designation + texts.Text(276);
    case PortAnswer::Kind::Unreadable:
        return texts.Text(277);
    case PortAnswer::Kind::Silent:
        return texts.Text(278);
    case PortAnswer::Kind::NotReady:
        text = texts.Text(279);
        break;
    case PortAnswer::Kind::Vanished:
        text = texts.Text(280);
        break;
    case PortAnswer::Kind::InUse:
        text = texts.Text(281);
        break;
    case PortAnswer::Kind::Failed:
        text = texts.Text(282);
        break;
    }
    if (answer.cause.isEmpty())
        return text;
    const QString cause = LineCause::Local(answer.cause, texts);
    return text + QStringLiteral(" (") +
           (answer.device.isEmpty() ? cause : answer.device + QStringLiteral(": ") + cause) + ')';
}

int ControllerSearch::run(const QList<int>& ports, Observer& observer) {
    link_.close();
    const auto waiting = [&observer] { observer.waiting(); };
    for (int i = 0; i < ports.size() && !observer.stopRequested(); ++i) {
        observer.asking(ports.at(i), i + 1, int(ports.size()));
        const PortAnswer answer = AskPortForController(link_, ports.at(i), baud_, waiting);
        observer.answered(ports.at(i), answer);
        if (answer.kind == PortAnswer::Kind::Controller)
            return ports.at(i);
    }
    return 0;
}

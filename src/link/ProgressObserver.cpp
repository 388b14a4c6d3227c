#include "link/ProgressObserver.h"

QString Refusal::text() const {
    switch (cause) {
    case Cause::FileUnusable:
        return QStringLiteral("FILE UNUSABLE");
    case Cause::ParityError:
        return QStringLiteral("PARITY ERROR IN LINE ") + QString::number(number);
    case Cause::WrongPort:
        return QStringLiteral("WRONG PORT N.") + QString::number(number);
    case Cause::PortFailed:
    case Cause::LineLost:
    case Cause::FileFailed:
        return detail;
    case Cause::Declined:
    case Cause::Stopped:
        return QString();
    case Cause::TimedOut:
        return QStringLiteral("TIMEOUT SERIAL PORT ");
    case Cause::LineUnanswered:
        return QStringLiteral("TIMEOUT SERIAL PORT ") +
               (port > 0 ? QString::number(port) : QString());
    case Cause::BadComm:
        return QStringLiteral("BAD comm");
    }
    return QString();
}

#include "link/ProgressObserver.h"
#include "model/LanguageTexts.h"

QString Refusal::text(const LanguageTexts& texts) const {
    switch (cause) {
    case Cause::FileUnusable:
        return texts.Text(238);
    case Cause::ParityError:
        return texts.Text(239) + QString::number(number);
    case Cause::WrongPort:
        return texts.Text(237) + QString::number(number);
    case Cause::PortFailed:
    case Cause::LineLost:
    case Cause::FileFailed:
        return detail;
    case Cause::Declined:
    case Cause::Stopped:
        return QString();
    case Cause::TimedOut:
        return texts.Text(236);
    case Cause::LineUnanswered:
        return texts.Text(236) + (port > 0 ? QString::number(port) : QString());
    case Cause::BadComm:
        return texts.Text(235);
    }
    return QString();
}

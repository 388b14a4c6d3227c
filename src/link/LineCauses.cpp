#include "link/LineCauses.h"

#include "model/LanguageTexts.h"

QString LineCause::Local(const QString& cause, const LanguageTexts& texts) {
    if (cause == HungUp)
        return texts.Text(229);
    if (cause == DeviceFailed)
        return texts.Text(265);
    if (cause == NoSuchDevice)
        return texts.Text(266);
    if (cause == NotReady)
        return texts.Text(267);
    if (cause == NotOpen)
        return texts.Text(268);
    if (cause == NotWritten)
        return texts.Text(269);
    return cause;
}

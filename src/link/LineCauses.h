#pragma once

#include <QString>

class LanguageTexts;

// The causes the line names itself, as the line keeps them (the system's own texts, such as
// "Permission denied", come as the system gives them).
namespace LineCause {
inline const QString HungUp = QStringLiteral("the line hung up");
inline const QString DeviceFailed = QStringLiteral("the device failed or vanished");
inline const QString NoSuchDevice = QStringLiteral("no such device");
inline const QString NotReady = QStringLiteral("the controller is not ready (no CTS)");
inline const QString NotOpen = QStringLiteral("the port is not open");
inline const QString NotWritten = QStringLiteral("the question could not be written");

// The cause in the operator's language: one of the line's own in its words, any other as it
// stands.
QString Local(const QString& cause, const LanguageTexts& texts);
} // namespace LineCause

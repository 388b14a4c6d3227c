#pragma once

#include <QString>

class ControllerLink;

// The transfer file: what a reception got, one frame per line, in the link's working
// directory.
namespace TransferFile {
inline const QString Name = QStringLiteral("__.__");
QString Path(const ControllerLink& link);
} // namespace TransferFile

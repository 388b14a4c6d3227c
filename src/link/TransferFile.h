#pragma once

#include <QString>

struct Session;

// The transfer file: what a reception got, one frame per line, in the working directory.
namespace TransferFile {
inline const QString Name = QStringLiteral("__.__");
QString Path(const Session& session);
} // namespace TransferFile

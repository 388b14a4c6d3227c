#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The program's text files (cam files, options, language scripts, the transfer file) are
// single-byte Windows-1252 with CR LF line ends; readers also accept a bare LF.
namespace TextFile {
QString DecodeCp1252(const QByteArray& bytes);
// Characters outside Windows-1252 become '?': the controller's world has no others.
QByteArray EncodeCp1252(const QString& text);

// Splits decoded text into lines on CR LF or LF. A final line without a line end is kept.
QStringList SplitLines(const QString& text);

// Reads a whole regular file of at most 16 MiB (the largest of the program's text files);
// false (and errorText set) when it is anything else or cannot be read.
bool ReadAll(const QString& path, QByteArray& bytes, QString* errorText = nullptr);
// Writes lines, each followed by CR LF, atomically: on failure the old file stays whole.
bool WriteLines(const QString& path, const QStringList& lines, QString* errorText = nullptr);
} // namespace TextFile

#pragma once

#include <QByteArray>
#include <QString>

class LanguageTexts;
class QFile;
class QFileDevice;

// Outside input and our own files, handled so that nothing blocks, grows without end or is
// lost: inputs are read only from regular files of a bounded size (a FIFO without a writer
// would wait for ever, /dev/zero never ends), and every write is atomic and tells the
// system's own reason when it fails.
namespace FileAccess {

constexpr qint64 MiB = 1024 * 1024;
// Far above the largest real files: a 24x28 program with 180 phases in every cam is about
// 1.2 MB, a firmware image a few MB, a language script some 30 KB.
constexpr qint64 CamFileLimit = 16 * MiB;
constexpr qint64 ImageLimit = 64 * MiB;
constexpr qint64 TextLimit = 1 * MiB; // options file, language scripts

// Opens path for reading when it is a regular file of at most limit bytes. Otherwise false
// and error says why ("a FIFO, not a regular file"), without waiting for anything.
bool OpenInput(QFile& file, const QString& path, qint64 limit, QString* error);
// Reads such a file whole (never more than limit bytes, even when it grows meanwhile).
bool ReadInput(const QString& path, qint64 limit, QByteArray& bytes, QString* error);

// Opens path to be written from its start, as a file of our own that is rewritten in place
// (the transfer file): only a regular file or none, never through a symbolic link (whose
// target would be overwritten), never a FIFO or a device (which would hang or take the
// bytes); those are refused with their kind, without waiting. Written unbuffered.
bool OpenOutput(QFile& file, const QString& path, QString* error);

// Writes every byte or returns false with the device's error set: a write cut short by a
// full disk is tried once more, so the system names the reason.
bool WriteAll(QFileDevice& file, const QByteArray& bytes);
// The reason of a failed write in words, never "Unknown error".
QString WriteCause(const QFileDevice& file);
// Puts bytes in place of path in one step (QSaveFile): on failure the old file stays whole,
// no temporary file stays behind and cause says why.
bool WriteAtomically(const QString& path, const QByteArray& bytes, QString* cause);

// A line of outside input made safe to show: control characters as \xNN, and at most
// maxLength characters, the cut marked with "...".
QString Printable(const QString& line, int maxLength = 120);

// A cause these functions give ("a FIFO, not a regular file") in the operator's language;
// any other (the system's own) as it stands.
QString LocalCause(const QString& cause, const LanguageTexts& texts);

} // namespace FileAccess

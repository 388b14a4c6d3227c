#include "shell/Options.h"

#include "dialogs/Prompts.h"
#include "model/FileAccess.h"
#include "model/NumberForms.h"
#include "model/TextFile.h"

#include <QDir>
#include <QFileInfo>

#include <algorithm>

namespace {
const QString kLookupName = QStringLiteral("q517_opt.def");
const QString kCreateName = QStringLiteral("Q517_opt.def");
// Longer than any real path: a longer recent entry would run the File menu off the screen, a
// longer script name only holds up the start-up looking for it. Such entries are dropped, a
// script name with a message.
constexpr int MaxRecentPathLength = 260;
constexpr int MaxLanguageFileLength = 4096;

// List-read: fields separated by commas; a field that starts with a double quote runs to
// the closing quote and loses both quotes. Blanks around a bare field are dropped.
QStringList listReadFields(const QString& line) {
    QStringList fields;
    qsizetype i = 0;
    const qsizetype n = line.size();
    while (i <= n) {
        while (i < n && line[i] == QLatin1Char(' '))
            ++i;
        QString field;
        if (i < n && line[i] == QLatin1Char('"')) {
            const qsizetype close = line.indexOf(QLatin1Char('"'), i + 1);
            const qsizetype end = close < 0 ? n : close;
            field = line.mid(i + 1, end - i - 1);
            i = end + 1;
            const qsizetype comma = line.indexOf(QLatin1Char(','), i);
            i = comma < 0 ? n + 1 : comma + 1;
        } else {
            const qsizetype comma = line.indexOf(QLatin1Char(','), i);
            const qsizetype end = comma < 0 ? n : comma;
            field = line.mid(i, end - i).trimmed();
            i = end + 1;
        }
        fields.append(field);
    }
    return fields;
}
} // namespace

QString Options::FilePath(const QString& dir) {
    const QDir d(dir);
    const QStringList entries = d.entryList(QDir::Files | QDir::Hidden);
    for (const QString& name : entries) {
        if (name.compare(kLookupName, Qt::CaseInsensitive) == 0)
            return d.filePath(name);
    }
    return d.filePath(kCreateName);
}

QString Options::ListWriteLine() const {
    return QLatin1Char('"') + LanguageFile + QStringLiteral("\",") + QString::number(PortNumber) +
           QStringLiteral(",\"") + BaudRate + QLatin1Char('"');
}

void Options::ListReadLine(const QString& line) {
    const QStringList fields = listReadFields(line);
    if (fields.size() > 0)
        LanguageFile = fields.at(0);
    if (fields.size() > 1)
        PortNumber = static_cast<int16_t>(
            std::clamp(NumberForms::LeadingNumber(fields.at(1), NumberForms::Rounding::Truncate),
                       -32768LL, 32767LL));
    if (fields.size() > 2)
        BaudRate = fields.at(2);
}

bool Options::ReadOptionsFile(const QString& dir, Prompts& prompts) {
    *this = Options();
    const QString path = FilePath(dir);
    QByteArray bytes;
    QString cause;
    if (QFileInfo::exists(path) &&
        !FileAccess::ReadInput(path, FileAccess::TextLimit, bytes, &cause)) {
        // There but not a file to read (a FIFO, a device, far too large): say so, then go on
        // with the defaults as for a missing file.
        prompts.message(path + QStringLiteral(": ") + cause, QString(), Prompts::Buttons::Ok,
                        Prompts::Icon::Warning);
        return false;
    }
    if (!QFileInfo::exists(path)) {
        prompts.message(QStringLiteral("FILE 'Q517_OPT.DEF' NOT FOUND!!!\n SET OPTIONS"), QString(),
                        Prompts::Buttons::Ok, Prompts::Icon::Warning);
        return false;
    }
    const QStringList lines = TextFile::SplitLines(TextFile::DecodeCp1252(bytes));
    if (!lines.isEmpty())
        ListReadLine(lines.at(0));
    if (LanguageFile.size() > MaxLanguageFileLength) {
        prompts.message(QStringLiteral("LANGUAGE FILE NAME OF %1 CHARACTERS IN 'Q517_OPT.DEF' "
                                       "IGNORED (AT MOST %2)")
                            .arg(LanguageFile.size())
                            .arg(MaxLanguageFileLength),
                        QString(), Prompts::Buttons::Ok, Prompts::Icon::Warning);
        LanguageFile = Options().LanguageFile;
    }
    // A blank line names no cam file: it would only give a recent entry that opens nothing.
    for (int i = 1; i < lines.size() && RecentFiles.size() < MaxRecentFiles; ++i) {
        const QString& entry = lines.at(i);
        if (!entry.trimmed().isEmpty() && entry.size() <= MaxRecentPathLength)
            RecentFiles.append(entry);
    }
    return true;
}

bool Options::WriteOptionsFile(const QString& dir, QString* errorText) const {
    QStringList lines{ListWriteLine()};
    lines += RecentFiles;
    return TextFile::WriteLines(FilePath(dir), lines, errorText);
}

bool Options::WriteOptionsFile(const QString& dir, Prompts& prompts) const {
    QString errorText;
    if (WriteOptionsFile(dir, &errorText))
        return true;
    prompts.message(QStringLiteral("FILE 'Q517_OPT.DEF' NOT WRITTEN!!!\n") + errorText, QString(),
                    Prompts::Buttons::Ok, Prompts::Icon::Warning);
    return false;
}

void Options::AddRecentFile(const QString& path) {
    QString carried = path;
    for (QString& entry : RecentFiles) {
        const QString old = entry;
        entry = carried;
        if (old == path)
            return;
        carried = old;
    }
    if (RecentFiles.size() < MaxRecentFiles)
        RecentFiles.append(carried);
}

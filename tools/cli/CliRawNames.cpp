#include "CliRawNames.h"

#include "CliCommand.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The length of the UTF-8 sequence at i, or 0 when none begins there.
qsizetype sequenceAt(const QByteArray& bytes, qsizetype i) {
    const auto lead = uint8_t(bytes[i]);
    const qsizetype length = lead < 0x80                   ? 1
                             : lead >= 0xC2 && lead < 0xE0 ? 2
                             : lead >= 0xE0 && lead < 0xF0 ? 3
                             : lead >= 0xF0 && lead < 0xF5 ? 4
                                                           : 0;
    if (length == 0 || i + length > bytes.size())
        return 0;
    for (qsizetype k = 1; k < length; ++k) {
        if ((uint8_t(bytes[i + k]) & 0xC0) != 0x80)
            return 0;
    }
    return length;
}

bool validUtf8(const QByteArray& bytes) {
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype length = sequenceAt(bytes, i);
        if (length == 0)
            return false;
        i += length;
    }
    return true;
}

// The bytes as text: what is UTF-8 as such, every other byte as \xNN.
QString escaped(const QByteArray& bytes) {
    QString text;
    for (qsizetype i = 0; i < bytes.size();) {
        const qsizetype length = sequenceAt(bytes, i);
        if (length > 0) {
            text += QString::fromUtf8(bytes.mid(i, length));
            i += length;
        } else {
            text += QStringLiteral("\\x%1").arg(int(uint8_t(bytes[i])), 2, 16, QLatin1Char('0'));
            ++i;
        }
    }
    return text;
}

// Which arguments name a file the command writes.
bool isOutput(const QString& command, const QStringList& before, int positional) {
    if (!before.isEmpty() &&
        (before.last() == QLatin1String("--pdf") || before.last() == QLatin1String("--report")))
        return true;
    return (command == QLatin1String("convert") && positional == 1) ||
           (command == QLatin1String("receive") && positional == 0);
}

} // namespace

CliRawNames& CliNames() {
    static CliRawNames names;
    return names;
}

QStringList CliRawNames::arguments(int argc, char* argv[]) {
    QStringList args;
    int positional = -1; // the command itself
    for (int i = 1; i < argc; ++i) {
        const QByteArray raw(argv[i]);
        const bool option = raw.startsWith("-");
        const bool value = !args.isEmpty() && args.last().startsWith(QLatin1String("--"));
        if (validUtf8(raw)) {
            args.append(QFile::decodeName(raw));
        } else {
            args.append(standIn(raw, isOutput(args.value(0), args.mid(1), positional)));
        }
        if (!option && !value)
            ++positional;
    }
    return args;
}

QString CliRawNames::standIn(const QByteArray& raw, bool output) {
    QByteArray absolute = raw;
    if (!absolute.startsWith('/'))
        absolute = QFile::encodeName(QDir::currentPath()) + '/' + raw;
    const qsizetype slash = absolute.lastIndexOf('/');
    const QString n = QString::number(names_.size());
    Name name{QString(), raw, output};
    if (output) {
        // Written beside its final place (through a link to the folder), so the rename that
        // gives it its name is within one folder and replaces an earlier file in one step.
        const QString folder = links_.filePath(QStringLiteral("d") + n);
        const QByteArray target = slash > 0 ? absolute.left(slash) : QByteArray("/");
        if (::symlink(target.constData(), QFile::encodeName(folder).constData()) != 0)
            return escaped(raw);
        name.standIn = folder + QStringLiteral("/.q517-") + QString::number(::getpid()) +
                       QLatin1Char('-') + n + QStringLiteral(".part");
    } else {
        name.standIn = links_.filePath(QStringLiteral("f") + n);
        if (::symlink(absolute.constData(), QFile::encodeName(name.standIn).constData()) != 0)
            return escaped(raw);
    }
    names_.append(name);
    return name.standIn;
}

bool CliRawNames::finish() {
    bool ok = true;
    for (const Name& name : std::as_const(names_)) {
        const QByteArray written = QFile::encodeName(name.standIn);
        struct stat st {};
        if (!name.output || ::lstat(written.constData(), &st) != 0)
            continue;
        if (::rename(written.constData(), name.raw.constData()) != 0) {
            cliErr() << "q517-cli: " << escaped(name.raw) << ": "
                     << QString::fromLocal8Bit(std::strerror(errno)) << "\n";
            ::unlink(written.constData());
            ok = false;
        }
    }
    return ok;
}

QString CliRawNames::shown(const QString& text) const {
    QString result = text;
    for (const Name& name : names_)
        result.replace(name.standIn, escaped(name.raw));
    return result;
}

#include "model/FileAccess.h"

#include "model/LanguageTexts.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#ifdef Q_OS_UNIX
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace FileAccess {

namespace {
void say(QString* error, const QString& text) {
    if (error)
        *error = text;
}

const QLatin1String TooLargeWords("larger than the limit of %1 MiB");
const QLatin1String NotRegularWords(", not a regular file");

QString tooLarge(qint64 limit) {
    return QString(TooLargeWords).arg(limit / MiB);
}

#ifdef Q_OS_UNIX
QString kindOf(mode_t mode) {
    if (S_ISFIFO(mode))
        return QStringLiteral("a FIFO");
    if (S_ISCHR(mode))
        return QStringLiteral("a character device");
    if (S_ISBLK(mode))
        return QStringLiteral("a block device");
    if (S_ISDIR(mode))
        return QStringLiteral("a directory");
    if (S_ISSOCK(mode))
        return QStringLiteral("a socket");
    return QStringLiteral("not a plain file");
}
#endif
} // namespace

bool OpenInput(QFile& file, const QString& path, qint64 limit, QString* error) {
    file.close();
    file.setFileName(path);
#ifdef Q_OS_UNIX
    // Opened without waiting (a FIFO would wait for a writer) and looked at through the open
    // descriptor, so what is checked is what is read.
    const int fd =
        ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        say(error, QString::fromLocal8Bit(std::strerror(errno)));
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        say(error, kindOf(st.st_mode) + NotRegularWords);
        ::close(fd);
        return false;
    }
    if (st.st_size > limit) {
        say(error, tooLarge(limit));
        ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (!file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        say(error, file.errorString());
        ::close(fd);
        return false;
    }
    return true;
#else
    const QFileInfo info(path);
    if (info.exists() && !info.isFile()) {
        say(error, QStringLiteral("not a regular file"));
        return false;
    }
    if (info.size() > limit) {
        say(error, tooLarge(limit));
        return false;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        say(error, file.errorString());
        return false;
    }
    return true;
#endif
}

bool OpenOutput(QFile& file, const QString& path, QString* error) {
    file.close();
    file.setFileName(path);
#ifdef Q_OS_UNIX
    const QByteArray name = QFile::encodeName(path);
    const int fd =
        ::open(name.constData(),
               O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0644);
    struct stat st {};
    if (fd < 0) {
        const int cause = errno;
        // A FIFO without a reader refuses a write-only open that must not wait.
        if (::lstat(name.constData(), &st) == 0 && !S_ISREG(st.st_mode))
            say(error,
                (S_ISLNK(st.st_mode) ? QStringLiteral("a symbolic link") : kindOf(st.st_mode)) +
                    NotRegularWords);
        else
            say(error, QString::fromLocal8Bit(std::strerror(cause)));
        return false;
    }
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        say(error, kindOf(st.st_mode) + NotRegularWords);
        ::close(fd);
        return false;
    }
    ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) & ~O_NONBLOCK);
    if (::ftruncate(fd, 0) != 0) {
        say(error, QString::fromLocal8Bit(std::strerror(errno)));
        ::close(fd);
        return false;
    }
    if (!file.open(fd, QIODevice::WriteOnly | QIODevice::Unbuffered,
                   QFileDevice::AutoCloseHandle)) {
        say(error, file.errorString());
        ::close(fd);
        return false;
    }
    return true;
#else
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Unbuffered)) {
        say(error, file.errorString());
        return false;
    }
    return true;
#endif
}

bool ReadInput(const QString& path, qint64 limit, QByteArray& bytes, QString* error) {
    QFile file;
    if (!OpenInput(file, path, limit, error))
        return false;
    bytes = file.read(std::min(file.size(), limit));
    if (file.error() != QFileDevice::NoError) {
        say(error, file.errorString());
        return false;
    }
    if (!file.atEnd() && !file.read(1).isEmpty()) { // it grew past the limit while read
        say(error, tooLarge(limit));
        return false;
    }
    return true;
}

bool WriteAll(QFileDevice& file, const QByteArray& bytes) {
    qint64 done = 0;
    // A short count without an error is how a full disk shows first; the next write gets
    // the system's refusal, and with it the reason.
    while (done < bytes.size()) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return false;
        done += n;
    }
    return true;
}

QString WriteCause(const QFileDevice& file) {
    if (file.error() == QFileDevice::NoError)
        return QStringLiteral("the system took only part of the data");
    const QString text = file.errorString();
    if (text.isEmpty() || text == QLatin1String("Unknown error"))
        return QStringLiteral("the system took only part of the data");
    return text;
}

bool WriteAtomically(const QString& path, const QByteArray& bytes, QString* cause) {
    QSaveFile file(path);
    // Unbuffered, so every refused byte shows at write() rather than in a flush inside commit.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        say(cause, file.errorString());
        return false;
    }
    if (!WriteAll(file, bytes)) {
        say(cause, WriteCause(file));
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        say(cause, WriteCause(file));
        return false;
    }
    return true;
}

QString Printable(const QString& line, int maxLength) {
    QString shown;
    for (const QChar ch : line) {
        if (shown.size() >= maxLength) {
            shown += QStringLiteral("...");
            return shown;
        }
        const char16_t u = ch.unicode();
        if (u < 0x20 || u == 0x7F || (u >= 0x80 && u < 0xA0))
            shown += QStringLiteral("\\x%1").arg(int(u), 2, 16, QLatin1Char('0'));
        else
            shown += ch;
    }
    return shown;
}

QString LocalCause(const QString& cause, const LanguageTexts& texts) {
    for (const qint64 limit : {CamFileLimit, ImageLimit, TextLimit})
        if (cause == tooLarge(limit))
            return texts.Text(650).arg(limit / MiB);
    if (cause == QLatin1String("not a regular file"))
        return texts.Text(651);
    if (!cause.endsWith(NotRegularWords))
        return cause;
    const QStringView kind = QStringView(cause).chopped(NotRegularWords.size());
    QString local;
    if (kind == QLatin1String("a FIFO"))
        local = texts.Text(652);
    else if (kind == QLatin1String("a character device"))
        local = texts.Text(653);
    else if (kind == QLatin1String("a block device"))
        local = texts.Text(654);
    else if (kind == QLatin1String("a directory"))
        local = texts.Text(655);
    else if (kind == QLatin1String("a socket"))
        local = texts.Text(656);
    else if (kind == QLatin1String("a symbolic link"))
        local = texts.Text(658);
    else
        local = texts.Text(659);
    return texts.Text(657).arg(local);
}

} // namespace FileAccess

#include "shell/SingleInstance.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QTimer>

#include <unistd.h>

namespace {
// A request is a command letter and a path, ended by a NUL (the one byte no path holds);
// the answer is one letter. "R" raises the window, "O/path" raises it and opens the file.
constexpr char RaiseCommand = 'R';
constexpr char OpenCommand = 'O';
constexpr char Taken = 'K';
// A start that connects and then says nothing is not waited for longer than this.
constexpr int RequestDeadlineMs = 5000;
} // namespace

SingleInstance::SingleInstance(const QString& lockDir, unsigned userId, QObject* parent)
    : QObject(parent), dir_(lockDir),
      socketPath_(QDir(lockDir).filePath(QStringLiteral("q517.socket"))), userId_(userId),
      lock_(std::make_unique<QLockFile>(QDir(lockDir).filePath(QStringLiteral("q517.lock")))) {
    // Never time a lock out by age: a long shift is not a crash. QLockFile still
    // recognises a lock whose process is gone and removes it.
    lock_->setStaleLockTime(0);
}

SingleInstance::~SingleInstance() {
    if (server_)
        server_->close();
}

unsigned SingleInstance::CurrentUser() {
    return unsigned(::geteuid());
}

bool SingleInstance::ownedByUser(const QString& path) const {
    const QFileInfo info(path);
    return info.exists() && info.ownerId() == userId_;
}

bool SingleInstance::acquire() {
    bool locked = lock_->tryLock(0);
    if (!locked && lock_->error() == QLockFile::LockFailedError && lock_->removeStaleLockFile())
        locked = lock_->tryLock(0);
    if (locked)
        listen();
    return locked;
}

bool SingleInstance::listening() const {
    return server_ && server_->isListening();
}

bool SingleInstance::listen() {
    // Whoever holds the lock owns the socket's name: one still there was left by a run that
    // crashed. Someone else's is left alone; later starts then only get the lock's answer.
    if (QFileInfo(socketPath_).isSymLink() ||
        (QFileInfo::exists(socketPath_) && !ownedByUser(socketPath_)))
        return false;
    QLocalServer::removeServer(socketPath_);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this,
                    [this, socket] { readRequest(socket); });
            QTimer::singleShot(RequestDeadlineMs, socket, [socket] { socket->abort(); });
            readRequest(socket);
        }
    });
    return server_->listen(socketPath_);
}

void SingleInstance::readRequest(QLocalSocket* socket) {
    const QByteArray pending = socket->peek(MaxRequestBytes + 1);
    const qsizetype end = pending.indexOf('\0');
    if (end < 0) {
        if (pending.size() > MaxRequestBytes)
            socket->abort();
        return;
    }
    const QByteArray request = socket->read(end + 1).chopped(1);
    QString file;
    if (request.startsWith(OpenCommand) && request.size() > 1)
        file = QFile::decodeName(request.mid(1));
    else if (request != QByteArray(1, RaiseCommand)) {
        socket->abort();
        return;
    }
    socket->write(QByteArray(1, Taken));
    socket->flush();
    socket->disconnectFromServer();
    emit requested(file);
}

bool SingleInstance::handOver(const QString& file, int timeoutMs) {
    // The socket must be this user's own: a file of that name put there by someone else
    // would otherwise receive the name of the cam file, and the start would believe it done.
    if (!ownedByUser(socketPath_) || QFileInfo(socketPath_).isSymLink())
        return false;
    QLocalSocket socket;
    socket.connectToServer(socketPath_);
    if (!socket.waitForConnected(timeoutMs))
        return false;
    QByteArray request =
        file.isEmpty() ? QByteArray(1, RaiseCommand) : OpenCommand + QFile::encodeName(file);
    if (request.size() > MaxRequestBytes || request.contains('\0'))
        return false;
    request.append('\0');
    socket.write(request);
    if (!socket.waitForBytesWritten(timeoutMs))
        return false;
    while (socket.bytesAvailable() == 0) {
        if (!socket.waitForReadyRead(timeoutMs))
            return false;
    }
    return socket.read(1) == QByteArray(1, Taken);
}

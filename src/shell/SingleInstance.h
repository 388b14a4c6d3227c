#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class QLocalServer;
class QLocalSocket;

// Guards against a second q517 on the same desktop, and lets a second start hand its work to
// the first: the first holds the lock and listens on a socket beside it that only its user
// may use; a second start asks it to raise its window and, when given one, to open a cam
// file. A lock or socket left behind by a crashed run is recognised as stale and taken over.
class SingleInstance : public QObject {
    Q_OBJECT
public:
    // lockDir: the runtime directory (a test gives its own). userId: whose socket may be
    // used; a socket there that belongs to anyone else is never spoken to.
    explicit SingleInstance(const QString& lockDir, unsigned userId = CurrentUser(),
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    // True when this process now holds the lock and listens for later starts; false when
    // another instance runs.
    bool acquire();
    // For a start that found another instance running: asks it to raise its window and, when
    // file is not empty, to open it. True when the running instance took the request.
    bool handOver(const QString& file, int timeoutMs = 5000);
    // True when a later start can reach this instance.
    bool listening() const;

    static unsigned CurrentUser();
    // The most a request may hold: the longest path the system allows, and a little more.
    static constexpr int MaxRequestBytes = 8192;

signals:
    // A later start asked for the window: raise it, and open file when it is not empty.
    void requested(const QString& file);

private:
    bool listen();
    void readRequest(QLocalSocket* socket);
    bool ownedByUser(const QString& path) const;

    QString dir_;
    QString socketPath_;
    unsigned userId_;
    std::unique_ptr<QLockFile> lock_;
    QLocalServer* server_ = nullptr;
};

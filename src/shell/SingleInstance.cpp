#include "shell/SingleInstance.h"

#include <QDir>

SingleInstance::SingleInstance(const QString& lockDir)
    : lock_(std::make_unique<QLockFile>(QDir(lockDir).filePath(QStringLiteral("q517.lock")))) {
    // Never time a lock out by age: a long shift is not a crash. QLockFile still
    // recognises a lock whose process is gone and removes it.
    lock_->setStaleLockTime(0);
}

bool SingleInstance::acquire() {
    if (lock_->tryLock(0))
        return true;
    if (lock_->error() == QLockFile::LockFailedError && lock_->removeStaleLockFile())
        return lock_->tryLock(0);
    return false;
}

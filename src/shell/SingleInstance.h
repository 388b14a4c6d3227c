#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

// Guards against a second q517 on the same desktop. A lock left behind by a crashed run is
// recognised as stale and taken over.
class SingleInstance {
public:
    // lockDir: the runtime directory (a test gives its own).
    explicit SingleInstance(const QString& lockDir);
    // True when this process now holds the lock; false when another instance runs.
    bool acquire();

private:
    std::unique_ptr<QLockFile> lock_;
};

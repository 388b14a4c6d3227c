#include "link/TransferFile.h"

#include "shell/Session.h"

QString TransferFile::Path(const Session& session) {
    return session.workPath(Name);
}

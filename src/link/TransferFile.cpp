#include "link/TransferFile.h"

#include "link/ControllerLink.h"

#include <QDir>

QString TransferFile::Path(const ControllerLink& link) {
    return QDir(link.workDir()).filePath(Name);
}

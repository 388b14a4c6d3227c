#include "shell/Session.h"
#include "Q517Paths.h"
#include "link/DeviceLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

Session::Session(Prompts& prompts, Clock& clock, CommonDialog& dialog, QString workDir)
    : ownLine(std::make_unique<DeviceLine>(texts)), link(*ownLine, clock, workDir, texts),
      prompts(prompts), clock(clock), dialog(dialog), workDir(std::move(workDir)) {}

Session::~Session() = default;

QString Session::workPath(const QString& name) const {
    return QDir(workDir).filePath(name);
}

namespace DataPaths {

QString Find(const QString& name, const QString& workDir) {
    if (name.isEmpty())
        return QString();
    const QFileInfo given(name);
    if (given.isAbsolute())
        return given.exists() ? name : QString();
    QStringList dirs{workDir};
    const QString appDir =
        QCoreApplication::instance() ? QCoreApplication::applicationDirPath() : QString();
    if (!appDir.isEmpty())
        dirs << appDir + QStringLiteral("/../share/q517");
    dirs << QStringLiteral(Q517_INSTALLED_DATA_DIR) << QStringLiteral(Q517_SOURCE_DATA_DIR);
    for (const QString& dir : dirs) {
        if (dir.isEmpty())
            continue;
        const QString candidate = QDir(dir).filePath(name);
        if (QFileInfo::exists(candidate))
            return QDir::cleanPath(candidate);
    }
    return QString();
}

} // namespace DataPaths

#include "model/CamFileName.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

QString CamFileNameFor(const QString& chosenPath) {
    const qsizetype slash = chosenPath.lastIndexOf(QLatin1Char('/'));
    const QString directory = chosenPath.left(slash + 1);
    QString name = chosenPath.mid(slash + 1).toUpper();
    if (name.trimmed().isEmpty())
        return QString();
    if (!name.contains(QLatin1String(".CAM"))) {
        const qsizetype dot = name.indexOf(QLatin1Char('.'));
        if (dot < 0)
            name += QLatin1String(".CAM");
        else
            name = name.left(dot + 1) + QLatin1String("CAM");
    }
    return directory + name;
}

QString CamFileStartFolder(const QStringList& camFiles, const QString& workDir) {
    const QString hidden = QDir(workDir).canonicalPath();
    for (const QString& file : camFiles) {
        if (file.isEmpty())
            continue;
        const QFileInfo folder(QFileInfo(file).absolutePath());
        if (folder.isDir() && folder.canonicalFilePath() != hidden)
            return folder.canonicalFilePath();
    }
    const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QFileInfo(documents).isDir() ? documents : QDir::homePath();
}

#include "model/CamFileName.h"

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

#include "shell/LanguageScripts.h"

#include "model/LanguageTexts.h"
#include "shell/OperatorScript.h"
#include "shell/Session.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace LanguageScripts {

bool LoadReference(LanguageTexts& texts) {
    // The installed copy, never one in the working directory: an operator's own old
    // English script would miss the very texts the fallback is for.
    const QString path = DataPaths::Find(QString::fromLatin1(ReferenceScript), QString());
    return !path.isEmpty() && texts.LoadLanguage(path);
}

bool Load(LanguageTexts& texts, const QString& path, QString* error) {
    if (!texts.LoadLanguage(path, error))
        return false;
    LanguageTexts english;
    if (LoadReference(english))
        texts.SetFallback(english);
    return true;
}

void LoadOperatorTexts(LanguageTexts& texts, const QString& workDir) {
    const QString path = OperatorScript(workDir);
    if (path.isEmpty() || !Load(texts, path))
        LoadReference(texts);
}

bool InstallToolkitTranslation(const QString& languageCode) {
    QCoreApplication* app = QCoreApplication::instance();
    if (!app)
        return false;
    // The translator belongs to the application, found again by its name when the operator
    // picks another language.
    static const QString name = QStringLiteral("q517-toolkit-translation");
    for (QTranslator* old : app->findChildren<QTranslator*>(name, Qt::FindDirectChildrenOnly)) {
        QCoreApplication::removeTranslator(old);
        delete old;
    }
    if (languageCode.isEmpty() || languageCode == QLatin1String("en"))
        return false;
    auto* translator = new QTranslator(app);
    translator->setObjectName(name);
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator->load(QStringLiteral("qt_") + languageCode, dir) &&
        !translator->load(QStringLiteral("qtbase_") + languageCode, dir)) {
        delete translator;
        return false;
    }
    QCoreApplication::installTranslator(translator);
    return true;
}

} // namespace LanguageScripts

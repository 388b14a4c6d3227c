#include "CliCamFile.h"

#include "CliCommand.h"
#include "CliDevice.h"

#include "model/CamFileReader.h"
#include "model/CamProgram.h"
#include "model/FileAccess.h"
#include "model/LanguageTexts.h"
#include "shell/Session.h"

namespace {
// Text 10 of the operator's language script; a fixed text when no script is found.
QString formatErrorText() {
    const QString path = CliLanguageScript();
    LanguageTexts texts;
    if (!path.isEmpty() && texts.LoadLanguage(path) && !texts.Text(10).isEmpty())
        return texts.Text(10);
    return QStringLiteral(" : wrong cam file format or programmer type");
}

// "Line 14: ' 030 9x0' is not a phase ON OFF" in the operator's language.
QString damagedLineText(const CamReadError& error) {
    const QString path = CliLanguageScript();
    LanguageTexts texts;
    if (!path.isEmpty() && texts.LoadLanguage(path) && !texts.Text(380).isEmpty())
        return CamReadErrorText(error, texts);
    return QStringLiteral("Line %1: '%2' is ").arg(error.LineNumber).arg(error.Line) + error.Reason;
}
} // namespace

int CliReadCamFile(CamProgram& program, const QString& path, bool everyDamagedLine) {
    const CamReadResult result = ReadCamFile(program, path);
    switch (result.status) {
    case CamReadResult::Status::Read:
        return 0;
    case CamReadResult::Status::Missing:
        cliErr() << "q517-cli: " << CliShown(path) << ": no such file\n";
        return 1;
    case CamReadResult::Status::Unreadable:
        cliErr() << "q517-cli: " << CliShown(path) << ": " << result.error.Reason << "\n";
        return 1;
    case CamReadResult::Status::Failed:
        break;
    }
    if (result.error.Damaged != CamReadError::Damage::None) {
        QList<CamReadError> damaged{result.error};
        QByteArray bytes;
        if (everyDamagedLine &&
            FileAccess::ReadInput(path, FileAccess::CamFileLimit, bytes, nullptr))
            damaged = DamagedLines(bytes);
        for (const CamReadError& error : damaged)
            cliErr() << "q517-cli: " << CliShown(path) << ": " << damagedLineText(error) << "\n";
        return 2;
    }
    cliErr() << "q517-cli: " << CliShown(path) << ": line " << result.error.LineNumber << ": "
             << result.error.Reason << "\n"
             << result.error.Line << formatErrorText() << "\n";
    return 1;
}

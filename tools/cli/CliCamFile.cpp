#include "CliCamFile.h"

#include "CliCommand.h"
#include "CliDevice.h"

#include "model/CamFileReader.h"
#include "model/CamProgram.h"
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
} // namespace

bool CliReadCamFile(CamProgram& program, const QString& path) {
    const CamReadResult result = ReadCamFile(program, path);
    switch (result.status) {
    case CamReadResult::Status::Read:
        return true;
    case CamReadResult::Status::Missing:
        cliErr() << "q517-cli: " << path << ": no such file\n";
        return false;
    case CamReadResult::Status::Unreadable:
        cliErr() << "q517-cli: " << path << ": " << result.error.Reason << "\n";
        return false;
    case CamReadResult::Status::Failed:
        break;
    }
    cliErr() << "q517-cli: " << path << ": line " << result.error.LineNumber << ": "
             << result.error.Reason << "\n"
             << result.error.Line << formatErrorText() << "\n";
    return false;
}

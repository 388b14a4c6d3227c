#include "CliCamFile.h"

#include "CliCommand.h"
#include "CliDevice.h"

#include "model/CamFileReader.h"
#include "model/CamProgram.h"
#include "model/FileAccess.h"
#include "model/LanguageTexts.h"
#include "shell/Session.h"

int CliReadCamFile(CamProgram& program, const QString& path, bool everyDamagedLine) {
    const CamReadResult result = ReadCamFile(program, path);
    switch (result.status) {
    case CamReadResult::Status::Read:
        return 0;
    case CamReadResult::Status::Missing:
        cliErr() << "q517-cli: " << CliShown(path) << ": " << CliTexts().Text(565) << "\n";
        return 1;
    case CamReadResult::Status::Unreadable:
        cliErr() << "q517-cli: " << CliShown(path) << ": "
                 << CamReadReason(result.error, CliTexts()) << "\n";
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
            cliErr() << "q517-cli: " << CliShown(path) << ": "
                     << CamReadErrorText(error, CliTexts()) << "\n";
        return 2;
    }
    cliErr() << "q517-cli: " << CliShown(path) << ": "
             << CliTexts().Text(566).arg(result.error.LineNumber) << ": "
             << CamReadReason(result.error, CliTexts()) << "\n"
             << result.error.Line << CliTexts().Text(10) << "\n";
    return 1;
}

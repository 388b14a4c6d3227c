#include "shell/CamFileLoading.h"

#include "dialogs/Prompts.h"
#include "model/CamFileReader.h"
#include "shell/Session.h"

QString CamReadMessage(const Session& session, const CamReadResult& result, const QString& path) {
    // A file that could not be read at all (a FIFO, a device, far too large) names the cause.
    if (result.status == CamReadResult::Status::Unreadable)
        return QStringLiteral("File [") + path + QStringLiteral("]: ") + result.error.Reason;
    return result.error.Line + session.Text(10);
}

bool LoadCamFile(Session& session) {
    CamProgram& program = session.program;
    const QString path = program.CurrentFileName;
    const CamReadResult result = ReadCamFile(program, path);
    // Even a refused file has replaced what the history was taken from.
    session.edit.restart();
    if (result.status == CamReadResult::Status::Missing)
        return false;
    if (!result.ok()) {
        session.prompts.message(CamReadMessage(session, result, path), QString(),
                                Prompts::Buttons::Ok, Prompts::Icon::Warning);
        program.CurrentFileName.clear();
        return false;
    }
    program.CurrentFormat = 1;
    session.options.AddRecentFile(path);
    return true;
}

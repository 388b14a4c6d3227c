#include "shell/CamFileLoading.h"

#include "model/CamFileReader.h"
#include "shell/Session.h"

QString CamReadMessage(const Session& session, const CamReadResult& result, const QString& path) {
    // A file that could not be read at all (a FIFO, a device, far too large) names the cause.
    if (result.status == CamReadResult::Status::Unreadable)
        return QStringLiteral("File [") + path + QStringLiteral("]: ") +
               CamReadReason(result.error, session.texts);
    if (result.error.Damaged != CamReadError::Damage::None)
        return QStringLiteral("File [") + path + QStringLiteral("]\n") +
               CamReadErrorText(result.error, session.texts);
    return CamReadErrorText(result.error, session.texts);
}

Outcome LoadCamFile(Session& session, const QString& path) {
    // Read apart, into a new program as New makes it: only a file read whole replaces the
    // program the operator has.
    CamProgram read = session.program;
    read.ResetToNew();
    const CamReadResult result = ReadCamFile(read, path);
    if (result.status == CamReadResult::Status::Missing)
        return Outcome::Refusal(QString());
    // The message names the file already when it could not be read or a line is damaged.
    if (result.status == CamReadResult::Status::Unreadable ||
        result.error.Damaged != CamReadError::Damage::None)
        return Outcome::Refusal(CamReadMessage(session, result, path));
    if (!result.ok())
        return Outcome::Refusal(CamReadMessage(session, result, path),
                                path + QStringLiteral(" line %1").arg(result.error.LineNumber));
    read.CurrentFormat = 1;
    read.CurrentFileName = path;
    session.program = std::move(read);
    // The entries taken back by Undo belong to the program that was replaced.
    session.edit.restart();
    session.options.AddRecentFile(path);
    return Outcome::Done();
}

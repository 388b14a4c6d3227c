#include "model/gui/CamFileChoice.h"

#include "dialogs/CommonDialog.h"
#include "model/CamFileName.h"
#include "shell/Session.h"

#include <QDir>

QString CamFileFilter(const Session& session) {
    return session.Text(57) + QStringLiteral("(*.Cam)|*.cam|") + session.Text(73) +
           QStringLiteral("(*.*)|*.*");
}

QString CamFileDialogFolder(const Session& session) {
    return CamFileStartFolder(QStringList{session.program.CurrentFileName} +
                                  session.options.RecentFiles,
                              session.workDir);
}

QString ChooseCamFileToOpen(Session& session, const QString& title, const QString& startFolder) {
    CommonDialog& dialog = session.dialog;
    dialog.DialogTitle = title;
    dialog.Filter = CamFileFilter(session);
    dialog.Flags = 0;
    dialog.CancelError = false;
    dialog.FileName.clear();
    dialog.InitDir = startFolder;
    const QString before = QDir::currentPath();
    dialog.ShowOpen();
    QDir::setCurrent(before);
    return dialog.FileName;
}

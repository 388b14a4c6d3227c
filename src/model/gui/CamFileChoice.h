#pragma once

#include <QString>

struct Session;

// The cam-file filter of the Open and Save As dialogs, in the language's words.
QString CamFileFilter(const Session& session);
// The folder a cam-file dialog starts in: that of the open file or of the latest recent one.
QString CamFileDialogFolder(const Session& session);
// The Open dialog on cam files, starting in startFolder; the process's current folder stays
// where it was. Empty when the operator cancelled.
QString ChooseCamFileToOpen(Session& session, const QString& title, const QString& startFolder);

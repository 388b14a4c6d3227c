#pragma once

#include <QString>

struct Session;
struct CamReadResult;

// The message the operator sees for a refused cam file: the offending line followed by
// language text 10; a file that cannot be opened at all is named instead of a line.
QString CamReadMessage(const Session& session, const CamReadResult& result, const QString& path);

// Reads the program's CurrentFileName into the program. On success the first format becomes
// the current one and the file heads the recent-file list. On a refused file the operator is
// told which line, and CurrentFileName is emptied so a later Save asks for a name instead of
// overwriting the unreadable file. A file that no longer exists loads nothing and says
// nothing. True when the file was read.
bool LoadCamFile(Session& session);

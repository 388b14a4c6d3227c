#pragma once

#include <QString>

struct Session;
struct CamReadResult;

// The message the operator sees for a refused cam file: the offending line followed by
// language text 10; a file that cannot be opened at all is named instead of a line.
QString CamReadMessage(const Session& session, const CamReadResult& result, const QString& path);

// Reads the cam file at path and, only when it was read whole, makes it the program: its
// first format current, path its CurrentFileName and the head of the recent-file list. A
// refused file is told to the operator (which line) and leaves the program and its file
// name as they were; a file that no longer exists loads nothing and says nothing. True when
// the file was read.
bool LoadCamFile(Session& session, const QString& path);

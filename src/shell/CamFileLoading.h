#pragma once

#include "model/Outcome.h"

#include <QString>

struct Session;
struct CamReadResult;

// The message the operator sees for a refused cam file: the offending line followed by
// language text 10; a file that cannot be opened at all is named instead of a line.
QString CamReadMessage(const Session& session, const CamReadResult& result, const QString& path);

// Reads the cam file at path and, only when it was read whole, makes it the program: its
// first format current, path its CurrentFileName and the head of the recent-file list. A
// refused file leaves the program and its file name as they were and is refused with
// CamReadMessage and, for a refused line, where it stands; a file that no longer exists
// loads nothing and is refused with nothing to say.
Outcome LoadCamFile(Session& session, const QString& path);

#pragma once

#include <QString>
#include <QStringList>

// The name Save As stores a program under: the file name (never the directory, whose case
// and dots are the operator's) in upper case with the ".CAM" extension. A name without a
// dot gets ".CAM"; a name with another extension has it replaced after its first dot; a
// name that already holds ".CAM" stays. An empty text when the path names no file.
QString CamFileNameFor(const QString& chosenPath);

// Where a cam file dialog starts: the folder of the first of these cam files (the program's
// own, then the recent ones) whose folder still exists, else the user's documents folder.
// Never workDir, the hidden per-user data folder, where an operator would not look for
// his files and should not leave them.
QString CamFileStartFolder(const QStringList& camFiles, const QString& workDir);

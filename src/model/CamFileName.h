#pragma once

#include <QString>

// The name Save As stores a program under: the file name (never the directory, whose case
// and dots are the operator's) in upper case with the ".CAM" extension. A name without a
// dot gets ".CAM"; a name with another extension has it replaced after its first dot; a
// name that already holds ".CAM" stays. An empty text when the path names no file.
QString CamFileNameFor(const QString& chosenPath);

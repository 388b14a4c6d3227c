#pragma once

#include <QString>

struct Session;

// The Sizes menu's work on whole formats: choose the format shown, copy the current format
// onto another, erase it, and import one format section of another cam file into it.
// Each asks through the session's prompts and changes only the model; the caller redraws
// and closes the editor's fields where its entry point requires it.
namespace FormatOperations {

// Select Size. True when the current format changed (the caller draws the new format; the
// edit session has forgotten the history of the format left).
bool SelectFormat(Session& session);

// Copy Size: copies every cam of the current format onto the format asked for. The shown
// format does not change and nothing needs drawing. True when a copy was made.
bool CopyFormat(Session& session);

// Erase Size: asks Yes/No; on Yes every cam of the current format is turned off.
// True when the format was erased (the caller draws it again).
bool EraseFormat(Session& session);

// Import Size: lets the operator choose a cam file (remembered in importFileName) and a
// format section of it, and replaces the current format with that section. The section is
// read into a scratch program first, so the current format is replaced only by a section
// that read cleanly. True when the current format was replaced.
bool ImportFormat(Session& session, QString& importFileName);

} // namespace FormatOperations

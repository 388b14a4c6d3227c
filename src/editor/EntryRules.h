#pragma once

#include <QString>

#include <optional>

// The rules of the editor's entry fields and window keys, apart from any widget.
namespace EntryRules {

// The value of a three-digit angle field: the number formed by its leading digits. An
// unfilled position (or anything that is not a digit) ends the number, so "9__" reads 9
// and "_12" reads 0.
int AngleValue(const QString& text);
// The text an angle field shows once left: values above 359 become "359".
QString ClampedAngleText(const QString& text);

// Window keys that step through the cams.
enum class CamKey { PageUp, PageDown, End, Home, Left, Right };
// The cam a window key selects, starting from cam current of count cams. Page Up and Page
// Down wrap around; Left and Right re-select the current cam.
int CamAfterKey(CamKey key, int current, int count);

} // namespace EntryRules

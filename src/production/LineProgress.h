#pragma once

#include "production/LineRun.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QString>

class LanguageTexts;

// The line's progress on standard error. On a terminal each target keeps one line that is
// rewritten in place; elsewhere (a log file, a pipe) a line is appended whenever a target's
// line changes, so the log reads in order.
class LineProgress {
public:
    // width: the terminal's columns; a line never reaches the last one, so none wraps and
    // the block can be rewritten from its top.
    // texts word the lines; they must outlive the display.
    LineProgress(const LanguageTexts& texts, bool terminal, int width = 80)
        : texts_(texts), terminal_(terminal), width_(width) {}

    // The bytes that bring the display up to these statuses.
    QByteArray update(const QList<TargetStatus>& statuses);

    // "COM 3   C24-28  format 12/28  43%"; names padded to nameWidth, the type to six.
    static QString TargetLine(const TargetStatus& status, int nameWidth,
                              const LanguageTexts& texts);

private:
    const LanguageTexts& texts_;
    bool terminal_;
    int width_;
    int shownLines_ = 0;           // terminal: lines of the block on screen
    QMap<int, QString> lastLines_; // plain: what each target showed last
};

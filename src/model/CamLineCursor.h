#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

// An open cam file (or transfer file) read line by line, the way the readers walk it.
// Lines end in CR LF or a bare LF; a last line without a line end still counts.
class CamLineCursor {
public:
    // The bytes are Windows-1252 text.
    explicit CamLineCursor(const QByteArray& bytes);
    explicit CamLineCursor(QString text);

    // True when no line is left to read.
    bool AtEnd() const { return next_ >= text_.size(); }
    // Makes the next line the current one (InputLine). False when the file has no line
    // left; the current line then stays the last one read.
    bool ReadLine();
    // The current line: the one last read, or the one a section reader stopped on.
    QStringView Line() const { return QStringView(text_).mid(lineStart_, lineLength_); }
    QString InputLine() const { return Line().toString(); }
    // The 1-based number of the current line in the file; 0 before the first read.
    int LineNumber() const { return lineNumber_; }

private:
    QString text_;
    qsizetype next_ = 0;
    qsizetype lineStart_ = 0;
    qsizetype lineLength_ = 0;
    int lineNumber_ = 0;
};

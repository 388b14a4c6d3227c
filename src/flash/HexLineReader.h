#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>

// Reads an image file one line at a time, line ends (CR LF, LF or a lone CR at the end)
// removed. The image is never held whole: the check and the update each read it afresh.
class HexLineReader {
public:
    // False, with errorText set, when the file cannot be opened for reading or is not a
    // regular file of at most 64 MiB.
    bool open(const QString& path, QString* errorText = nullptr);
    // The next line; false at the end of the file or on a read error (see failed()).
    bool next(QByteArray& line);
    // True when more lines follow.
    bool atEnd() const;
    bool failed() const { return failed_; }
    void close() { file_.close(); }

private:
    QFile file_;
    bool failed_ = false;
    qint64 read_ = 0;
};

#include "flash/HexLineReader.h"

bool HexLineReader::open(const QString& path, QString* errorText) {
    file_.close();
    failed_ = false;
    file_.setFileName(path);
    if (!file_.open(QIODevice::ReadOnly)) {
        if (errorText)
            *errorText = file_.errorString();
        return false;
    }
    return true;
}

bool HexLineReader::next(QByteArray& line) {
    if (!file_.isOpen() || file_.atEnd())
        return false;
    line = file_.readLine();
    if (line.isEmpty() && file_.error() != QFileDevice::NoError) {
        failed_ = true;
        return false;
    }
    if (line.endsWith('\n'))
        line.chop(1);
    if (line.endsWith('\r'))
        line.chop(1);
    return true;
}

bool HexLineReader::atEnd() const {
    return !file_.isOpen() || file_.atEnd();
}

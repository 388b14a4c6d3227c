#include "flash/HexLineReader.h"

#include "model/FileAccess.h"

bool HexLineReader::open(const QString& path, QString* errorText) {
    failed_ = false;
    read_ = 0;
    return FileAccess::OpenInput(file_, path, FileAccess::ImageLimit, errorText);
}

bool HexLineReader::next(QByteArray& line) {
    if (!file_.isOpen() || file_.atEnd())
        return false;
    line = file_.readLine();
    read_ += line.size();
    // A file that keeps growing while it is read is no image either.
    if ((line.isEmpty() && file_.error() != QFileDevice::NoError) ||
        read_ > FileAccess::ImageLimit) {
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

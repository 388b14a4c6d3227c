#include "model/CamLineCursor.h"

#include "model/TextFile.h"

CamLineCursor::CamLineCursor(const QByteArray& bytes) : text_(TextFile::DecodeCp1252(bytes)) {}

CamLineCursor::CamLineCursor(QString text) : text_(std::move(text)) {}

bool CamLineCursor::ReadLine() {
    if (AtEnd())
        return false;
    const qsizetype lf = text_.indexOf(QLatin1Char('\n'), next_);
    const qsizetype stop = lf < 0 ? text_.size() : lf;
    qsizetype end = stop;
    if (lf >= 0 && end > next_ && text_.at(end - 1) == QLatin1Char('\r'))
        --end;
    lineStart_ = next_;
    lineLength_ = end - next_;
    next_ = lf < 0 ? text_.size() : lf + 1;
    ++lineNumber_;
    return true;
}

#include "shell/LanguageTexts.h"

#include "shell/TextFile.h"

#include <QFile>

LanguageTexts::LanguageTexts() : texts_(QList<QString>(Count)) {}

QString LanguageTexts::Text(int n) const {
    return n >= 1 && n <= Count ? texts_.at(n - 1) : QString();
}

bool LanguageTexts::LoadLanguage(const QString& path) {
    texts_ = QStringList(QList<QString>(Count));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    const QByteArray bytes = file.readAll();
    LoadFromBytes(bytes);
    return file.error() == QFileDevice::NoError;
}

void LanguageTexts::LoadFromBytes(const QByteArray& bytes) {
    texts_ = QStringList(QList<QString>(Count));
    // The last character of the file is never read. A bare LF counts as a line end too, so
    // it is widened to CR LF before the walk, which counts on two-character line ends.
    const QByteArray read = bytes.left(bytes.size() - 1);
    QByteArray normal;
    normal.reserve(read.size() + read.size() / 16 + 2);
    for (qsizetype k = 0; k < read.size(); ++k) {
        if (read[k] == '\n' && (k == 0 || read[k - 1] != '\r'))
            normal += '\r';
        normal += read[k];
    }
    const QString text = TextFile::DecodeCp1252(normal);
    // q is the first character taken: 0 for the header, then the character after the one
    // that starts each next line, which skips its opening quote; the closing quote is
    // dropped by stopping two characters before the CR LF.
    qsizetype q = 0;
    for (int i = 1; i <= Count; ++i) {
        const qsizetype crlf = text.indexOf(QStringLiteral("\r\n"), q);
        if (crlf < 0)
            break;
        const qsizetype length = crlf - 1 - q;
        texts_[i - 1] = length > 0 ? text.mid(q, length) : QString();
        q = crlf + 3;
    }
}

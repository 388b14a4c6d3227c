#include "model/LanguageTexts.h"

#include "model/FileAccess.h"
#include "model/TextFile.h"

#include <QRegularExpression>

#include <algorithm>

LanguageTexts::LanguageTexts() : texts_(QList<QString>(Count)) {}

QString LanguageTexts::Text(int n) const {
    if (n < 1 || n > Count)
        return QString();
    const QString& own = texts_.at(n - 1);
    return own.isEmpty() && n - 1 < fallback_.size() ? fallback_.at(n - 1) : own;
}

bool LanguageTexts::Has(int n) const {
    return n >= 1 && n <= Count && !texts_.at(n - 1).isEmpty();
}

namespace {
// A script must reach at least this text: the highest number every script has always had. A
// shorter file (an empty one, a cam file chosen by mistake) is no language script, and so is
// one with control bytes other than line ends and tabs: both are refused, as a missing one.
constexpr int FewestTexts = 138;
} // namespace

bool LanguageTexts::LoadLanguage(const QString& path, QString* error) {
    texts_ = QStringList(QList<QString>(Count));
    languageCode_.clear();
    QByteArray bytes;
    if (!FileAccess::ReadInput(path, FileAccess::TextLimit, bytes, error))
        return false;
    const qsizetype binary =
        std::find_if(bytes.cbegin(), bytes.cend(),
                     [](char c) {
                         const auto u = static_cast<unsigned char>(c);
                         return (u < 0x20 && u != '\r' && u != '\n' && u != '\t') || u == 0x7F;
                     }) -
        bytes.cbegin();
    if (binary < bytes.size()) {
        if (error)
            *error = QStringLiteral("not text: byte %1 is 0x%2")
                         .arg(binary + 1)
                         .arg(int(static_cast<unsigned char>(bytes.at(binary))), 2, 16,
                              QLatin1Char('0'));
        return false;
    }
    // The walk takes a text only from a line a further line break follows.
    const qsizetype lines = bytes.left(bytes.size() - 1).count('\n');
    if (lines < FewestTexts) {
        if (error)
            *error = QStringLiteral("%1 texts, fewer than the %2 every script has")
                         .arg(lines)
                         .arg(FewestTexts);
        return false;
    }
    LoadFromBytes(bytes);
    return true;
}

void LanguageTexts::LoadFromBytes(const QByteArray& bytes) {
    texts_ = QStringList(QList<QString>(Count));
    languageCode_.clear();
    // The last character of the file is never read, so a line gives a text only when its
    // line end is complete in what is read: a script ends with one line break that is not
    // taken. CR LF and a bare LF both end a line.
    const QString text = TextFile::DecodeCp1252(bytes.left(bytes.size() - 1));
    qsizetype start = 0;
    for (int n = 1; n <= Count; ++n) {
        const qsizetype lf = text.indexOf(QLatin1Char('\n'), start);
        if (lf < 0)
            break;
        qsizetype end = lf;
        if (end > start && text[end - 1] == QLatin1Char('\r'))
            --end;
        const QString line = text.mid(start, end - start);
        // The header line loses its last character; every text line its first and last,
        // the double quotes the script writes around each text. A line too short to hold
        // both quotes is an empty text and never swallows the line after it, so one blank
        // line in a hand-edited script does not shift every later text.
        if (n == 1) {
            texts_[0] = line.left(line.size() - 1);
            static const QRegularExpression tag(
                QStringLiteral("\\[([a-z]{2,3}(?:_[A-Z]{2})?)\\]\\s*$"));
            languageCode_ = tag.match(line).captured(1);
        } else if (line.size() > 2) {
            texts_[n - 1] = line.mid(1, line.size() - 2);
        }
        start = lf + 1;
    }
}

void LanguageTexts::SetFallback(const LanguageTexts& other) {
    fallback_ = other.texts_;
    // The header is the script's own, never borrowed.
    fallback_[0].clear();
}

QList<int> LanguageTexts::MissingFrom(const LanguageTexts& reference) const {
    QList<int> missing;
    for (int n = 2; n <= Count; ++n)
        if (reference.Has(n) && !Has(n))
            missing.append(n);
    return missing;
}

#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class LanguageTexts;

// What a reception brought, read from the transfer file: the format headers in the order
// they came and whether "END" closed the stream. A program came whole only when every
// format of its type came, in order, and then "END".
struct ReceivedFormats {
    QList<int> formats; // the numbers of the format headers, as they came
    bool ended = false; // an "END" frame came

    static ReceivedFormats Scan(const QByteArray& transferFile);

    bool Whole(int formatCount) const;
    // The formats of 1..formatCount that never came.
    QList<int> Missing(int formatCount) const;
    // What is missing for the operator: "formats 3-28 and END never came".
    QString MissingText(int formatCount, const LanguageTexts& texts) const;
};

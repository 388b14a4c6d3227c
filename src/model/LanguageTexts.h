#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// The numbered texts of the user interface, loaded from a language script.
class LanguageTexts {
public:
    static constexpr int Count = 699;

    LanguageTexts();

    // Text n (1..Count): the script's own, else the fallback's (see SetFallback); empty when
    // neither has one or n is out of range.
    QString Text(int n) const;
    // Whether the script itself gives text n (the fallback aside).
    bool Has(int n) const;

    // A script must reach at least this text: the highest number every script has always
    // had. A shorter file (an empty one, a cam file chosen by mistake) is no language script.
    static constexpr int FewestTexts = 138;

    // Fills the table from a script file. False, with the reason in error, when it is not a
    // regular file of at most 1 MiB or cannot be read, is not text (control bytes other
    // than line ends and tabs) or has fewer than FewestTexts texts; the table is then all
    // empty.
    bool LoadLanguage(const QString& path, QString* error = nullptr);
    // The walk over a script's bytes: the header line loses its last character, every later
    // line its first and last (the quotes); the file's last character is never read.
    void LoadFromBytes(const QByteArray& bytes);

    // A customer's script written before a text was added lacks it: that text comes from
    // the other script's own texts (the English one) instead of showing blank.
    void SetFallback(const LanguageTexts& other);

    // The language the header line names at its end in brackets, as "de" or "pt_BR" in
    // "Q517 language script: Deutsch [de]"; empty when it names none (an older script).
    QString LanguageCode() const { return languageCode_; }

    // The numbers that reference gives and this script lacks or leaves empty.
    QList<int> MissingFrom(const LanguageTexts& reference) const;

private:
    QStringList texts_;
    QStringList fallback_;
    QString languageCode_;
};

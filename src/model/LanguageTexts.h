#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// The numbered texts of the user interface, loaded from a language script.
class LanguageTexts {
public:
    static constexpr int Count = 500;

    LanguageTexts();

    // Text n (1..500); empty when the script has none or n is out of range.
    QString Text(int n) const;

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

private:
    QStringList texts_;
};

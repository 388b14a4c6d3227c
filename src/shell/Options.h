#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

class Prompts;

// The settings kept between runs in the options file of the working directory.
struct Options {
    static constexpr int MaxRecentFiles = 5;
    // Longer than any real path: a longer recent entry would run the File menu off the
    // screen, a longer script name only slows the start-up down looking for it.
    static constexpr int MaxRecentPathLength = 260;
    static constexpr int MaxLanguageFileLength = 4096;

    QString LanguageFile = QStringLiteral("q517_IT.SCR");
    int16_t PortNumber = 1;
    QString BaudRate = QStringLiteral("9600");
    QStringList RecentFiles; // most recent first, at most five

    // Sets the defaults, then reads the file found in dir (its name is matched without
    // regard to letter case). A missing file shows the warning and keeps the defaults.
    // Blank lines among the recent files are skipped, and so are entries longer than
    // MaxRecentPathLength; a language script name longer than MaxLanguageFileLength is
    // ignored with a message (the default stays).
    // Returns false when the file was missing.
    bool ReadOptionsFile(const QString& dir, Prompts& prompts);
    // Writes the file into dir, over the existing one whatever its letter case.
    bool WriteOptionsFile(const QString& dir, QString* errorText = nullptr) const;
    // The same, telling the operator when the file could not be written (the old one stays).
    bool WriteOptionsFile(const QString& dir, Prompts& prompts) const;
    // Move-to-front: path becomes entry 1; an existing equal entry moves, a sixth is dropped.
    void AddRecentFile(const QString& path);

    // Line 1 of the file in its list-write and list-read forms.
    QString ListWriteLine() const;
    void ListReadLine(const QString& line);

    // The path of the options file in dir: the existing one whatever its letter case,
    // else the name it is created under.
    static QString FilePath(const QString& dir);
};

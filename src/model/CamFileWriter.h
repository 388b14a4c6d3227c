#pragma once

#include "model/CamLineBuffer.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

class CamProgram;
class LanguageTexts;

// The text of a cam file as it is written: Windows-1252, every line ended by CR LF.
class CamFileText {
public:
    void AddLine(QStringView line);
    const QByteArray& Bytes() const { return bytes_; }
    int LineCount() const { return lines_; }

private:
    QByteArray bytes_;
    int lines_ = 0;
};

// Fills buffer with the lines of one cam: "C nn", the quoted name, then " ooo fff" per phase.
// While the serial port is open the names travel with format 1 only; with the port closed
// every format section repeats them. In format 1 a named cam without phases still gets its
// header line, so the operator's names survive a save.
void BuildCamLines(const CamProgram& program, int format, int cam, bool portOpen,
                   CamLineBuffer& buffer);

// The header "FUNZIONI cc-ff", the advance lines and the four parameter lines.
void WriteFunctionSection(const CamProgram& program, CamFileText& out);
// " FORMATO N. ff" and the lines of every cam of that format that has any.
void WriteFormatSection(const CamProgram& program, int format, bool portOpen, CamFileText& out);
// The whole file: function section, every format section, "END".
CamFileText CamFileContents(const CamProgram& program, bool portOpen);

// What went wrong with a save: a number in the operator's familiar error numbering
// (76 path not found, 75 path/file access error, 70 permission denied, 61 disk full)
// and a sentence naming the file and the cause (What, in English for logs and tests;
// FileWriteErrorText in the operator's language).
struct FileWriteError {
    int Number = 0;
    QString What;
    QString Path;
    enum class Why { System, NoFileName, NoDirectory, IsDirectory } Reasoned = Why::System;
    QString SystemCause; // for Why::System, as the system gives it
};

// "PATH: cause" in the operator's language.
QString FileWriteErrorText(const FileWriteError& error, const LanguageTexts& texts);

// Writes the whole program to path atomically: on any failure the old file stays whole and
// error says why. The model is never checked: whatever the degrees hold is written.
bool WriteCamFile(const CamProgram& program, const QString& path, bool portOpen,
                  FileWriteError* error = nullptr);

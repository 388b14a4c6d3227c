#pragma once

#include "model/CamLineCursor.h"

#include <QByteArray>
#include <QList>
#include <QString>

class CamProgram;
class FormatScratch;
class LanguageTexts;

// The line a read stopped on and why. The operator is shown Line followed by language
// text 10 (CamReadErrorText), and the reason in the operator's words (CamReadReason); Reason
// says it in English for the simulator's log and the tests.
struct CamReadError {
    int LineNumber = 0; // 1-based; 0 when the file had no line at all
    QString Line;       // made printable: control characters as \xNN, a long line cut with "..."
    QString Reason;
    enum class Why {
        Other, // a cause from outside the file (the system's, for an unreadable file)
        CamNumberNotDigits,
        CamNumberOutside, // Detail: the type's last cam
        PhaseBeforeCam,
        NotAPhase,
        AngleOutside,
        EndsBefore,    // Detail: the line that was expected
        NoKeywordLine, // Detail: the keyword
        SpeedLimitOutside,
        AdvanceWithoutMs,
        AdvanceOutside,
        Empty,
        NoFunctionLine,
        NoSuchType,
        FormatOutside, // Detail: the type's last format
        NotAFormatHeader,
    } Reasoned = Why::Other;
    QString Detail;
    // A phase line that is not two whole numbers, or a cam line whose number is not digits:
    // a damaged line, never guessed at.
    enum class Damage { None, Phase, CamNumber } Damaged = Damage::None;
};

// What the operator reads for a refused line: "Line 14: ' 030 9x0' is not a phase ON OFF"
// for a damaged line, else the line followed by language text 10.
QString CamReadErrorText(const CamReadError& error, const LanguageTexts& texts);

// Why the read stopped, in the operator's language; a cause from outside the file as it came.
QString CamReadReason(const CamReadError& error, const LanguageTexts& texts);

// Every damaged phase and cam line of a cam file's format sections, in file order.
QList<CamReadError> DamagedLines(const QByteArray& bytes);

// Where a format section ended.
enum class SectionStop {
    FormatHeader, // the current line is the next " FORMATO N. " header
    EndLine,      // the current line contains "END"
    EndOfFile,    // the file has no line left
    Failed,       // a line could not be taken; the error says which
};

// Reads cam and phase lines of one format from the cursor's next line on, until the next
// format header, an "END" line or the end of the file; the stopping line stays current.
// Refused (Failed): a cam number outside 1..CamCount or not digits, a phase line before any
// cam line of the section, a phase line that is not two whole numbers (ON and OFF, blanks
// around and between them), an angle outside 0..359. Cams are built through SetPhase, names through
// SetCamName; a name read later replaces one read earlier.
SectionStop ReadFormatSection(CamLineCursor& in, CamProgram& program, int format,
                              CamReadError* error = nullptr);
// The same reading into a scratch format, for callers that must not touch a format until
// the whole section has been read (Import Size).
SectionStop ReadFormatSection(CamLineCursor& in, FormatScratch& scratch,
                              CamReadError* error = nullptr);

struct CamReadResult {
    enum class Status {
        Read,       // the whole file was taken
        Missing,    // no such file (or no name): nothing was changed
        Unreadable, // the file exists but cannot be opened or read: nothing was changed
        Failed,     // a format error: the model holds what was read before it
    };
    Status status = Status::Read;
    CamReadError error; // for Failed (and the cause for Unreadable)
    bool ok() const { return status == Status::Read; }
    // The reader's ReadFailed flag: true when the read stopped on a format error.
    bool ReadFailed() const { return status == Status::Failed; }
};

// Reads a whole cam file into program: the function section (which sets the cam and format
// counts), every format section, an optional "END". Never writes outside the model's arrays.
CamReadResult ReadCamFile(CamProgram& program, const QString& path);
// The same from the file's bytes.
CamReadResult ReadCamBytes(CamProgram& program, const QByteArray& bytes);

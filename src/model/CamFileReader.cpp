#include "model/CamFileReader.h"

#include "model/CamProgram.h"
#include "model/FileAccess.h"
#include "model/FormatScratch.h"
#include "model/NumberForms.h"

#include <QFileInfo>

#include <algorithm>
#include <cstdlib>
#include <limits>

namespace {

using NumberForms::LeadingNumber;
using NumberForms::Rounding;

using Why = CamReadError::Why;

bool setError(CamReadError* error, const CamLineCursor& in, Why why, const QString& reason,
              const QString& detail = QString(),
              CamReadError::Damage damage = CamReadError::Damage::None) {
    if (error) {
        error->LineNumber = in.LineNumber();
        error->Line = FileAccess::Printable(in.InputLine());
        error->Reason = reason;
        error->Reasoned = why;
        error->Detail = detail;
        error->Damaged = damage;
    }
    return false;
}

bool isBlank(QChar c) {
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

// Whole numbers separated by blanks, with blanks before and after: nothing else. An angle of
// more digits than any angle has reads as too large, never as its last digits.
QList<long long> wholeNumbers(QStringView line) {
    QList<long long> numbers;
    qsizetype i = 0;
    for (;;) {
        while (i < line.size() && isBlank(line[i]))
            ++i;
        if (i == line.size())
            return numbers;
        long long value = 0;
        const qsizetype start = i;
        for (; i < line.size() && line[i] >= QLatin1Char('0') && line[i] <= QLatin1Char('9'); ++i)
            value = std::min<long long>(value * 10 + (line[i].unicode() - '0'), 1000000);
        if (i == start || (i < line.size() && !isBlank(line[i])))
            return {};
        numbers.append(value);
    }
}

// The cam number of a cam line (characters 3 and 4, up to the name's quote), or -1 when it
// is not digits: "C 1O" must not read as cam 1.
long long camNumber(QStringView line) {
    QStringView field = line.mid(2, 2);
    field = field.left(field.indexOf(QLatin1Char('"')));
    const QList<long long> number = wholeNumbers(field);
    return number.size() == 1 ? number.first() : -1;
}

// ON and OFF of a phase line, or nothing when it is not exactly two whole numbers.
bool phaseAngles(QStringView line, long long& on, long long& off) {
    const QList<long long> numbers = wholeNumbers(line);
    if (numbers.size() != 2)
        return false;
    on = numbers[0];
    off = numbers[1];
    return true;
}

const char NotAPhase[] = "not a phase ON OFF";
const char NotACamNumber[] = "the cam number is not digits";

// The cams of one format inside the program.
struct ProgramFormat {
    CamProgram& program;
    int format;
    int camCount() const { return program.CamCount(); }
    uint8_t* camDegrees(int cam) { return program.CamDegrees(format, cam); }
    void setName(int cam, const QString& name) { program.SetCamName(cam, name); }
};

// The cams of a scratch format.
struct ScratchFormat {
    FormatScratch& scratch;
    int camCount() const { return scratch.CamCount(); }
    uint8_t* camDegrees(int cam) { return scratch.CamDegrees(cam); }
    void setName(int cam, const QString& name) {
        scratch.SetName(cam, name.left(CamProgram::MaxNameLength));
    }
};

template <typename Target>
SectionStop readSection(CamLineCursor& in, Target target, CamReadError* error) {
    int cam = 0;
    while (in.ReadLine()) {
        const QStringView line = in.Line();
        if (line.isEmpty())
            continue;
        if (line.startsWith(QLatin1Char('C'))) {
            const long long number = camNumber(line);
            if (number < 0) {
                setError(error, in, Why::CamNumberNotDigits, QLatin1String(NotACamNumber), {},
                         CamReadError::Damage::CamNumber);
                return SectionStop::Failed;
            }
            if (number < 1 || number > target.camCount()) {
                const QString last = QString::number(target.camCount());
                setError(error, in, Why::CamNumberOutside,
                         QStringLiteral("cam number outside 1..%1").arg(last), last);
                return SectionStop::Failed;
            }
            cam = int(number);
            const qsizetype quote = line.indexOf(QLatin1Char('"'));
            if (quote >= 0) {
                // The name runs from after the first quote up to the line's last character.
                const qsizetype length = line.size() - quote - 2;
                target.setName(cam,
                               length > 0 ? line.mid(quote + 1, length).toString() : QString());
            }
            continue;
        }
        if (line.contains(QLatin1String("END")))
            return SectionStop::EndLine;
        if (line.contains(QLatin1String("FORMATO N. ")))
            return SectionStop::FormatHeader;
        if (!line.startsWith(QLatin1Char(' ')))
            continue; // not a line of the section: the reader has always passed over these
        if (cam == 0) {
            setError(error, in, Why::PhaseBeforeCam,
                     QStringLiteral("phase line before any cam line"));
            return SectionStop::Failed;
        }
        long long on = 0;
        long long off = 0;
        if (!phaseAngles(line, on, off)) {
            setError(error, in, Why::NotAPhase, QLatin1String(NotAPhase), {},
                     CamReadError::Damage::Phase);
            return SectionStop::Failed;
        }
        if (on < 0 || on >= CamProgram::Degrees || off < 0 || off >= CamProgram::Degrees) {
            setError(error, in, Why::AngleOutside, QStringLiteral("angle outside 0..359"));
            return SectionStop::Failed;
        }
        SetPhaseOn(target.camDegrees(cam), int(on), int(off));
    }
    return SectionStop::EndOfFile;
}

// Reads the next line for the function section; at the end of the file the read fails
// with the last line read.
bool nextLine(CamLineCursor& in, CamReadError* error, const char* expected) {
    if (in.ReadLine())
        return true;
    return setError(error, in, Why::EndsBefore,
                    QStringLiteral("the file ends before the %1 line").arg(QLatin1String(expected)),
                    QLatin1String(expected));
}

bool readParameter(CamLineCursor& in, CamReadError* error, const char* keyword, int lastChars,
                   int16_t& value) {
    if (!in.Line().contains(QLatin1String(keyword)))
        return setError(error, in, Why::NoKeywordLine,
                        QStringLiteral("no \"%1\" line").arg(QLatin1String(keyword)),
                        QStringLiteral("\"%1\"").arg(QLatin1String(keyword)));
    value = int16_t(LeadingNumber(in.Line().right(lastChars), Rounding::HalfToEven));
    return true;
}

// The speed limit is the number that follows its label, so every value written reads back.
bool readSpeedLimit(CamLineCursor& in, CamReadError* error, int16_t& value) {
    const QStringView line = in.Line();
    const QLatin1String label("LIMITE DI VELOCITA'");
    qsizetype at = line.indexOf(label);
    if (at >= 0) {
        at += label.size();
    } else {
        at = line.indexOf(QLatin1String("LIMITE"));
        if (at < 0)
            return setError(error, in, Why::NoKeywordLine, QStringLiteral("no \"LIMITE\" line"),
                            QStringLiteral("\"LIMITE\""));
        at += 6;
    }
    const long long number = LeadingNumber(line.mid(at), Rounding::HalfToEven);
    if (number < std::numeric_limits<int16_t>::min() ||
        number > std::numeric_limits<int16_t>::max())
        return setError(error, in, Why::SpeedLimitOutside,
                        QStringLiteral("speed limit out of range"));
    value = int16_t(number);
    return true;
}

bool readAdvance(CamLineCursor& in, CamReadError* error, uint8_t& value) {
    const QStringView line = in.Line();
    const qsizetype ms = line.indexOf(QLatin1String("ms"));
    if (ms < 0)
        return setError(error, in, Why::AdvanceWithoutMs,
                        QStringLiteral("advance line without \"ms\""));
    const long long number = LeadingNumber(line.mid(ms + 3), Rounding::HalfToEven);
    if (number < 0 || number > 255)
        return setError(error, in, Why::AdvanceOutside, QStringLiteral("advance outside 0..255"));
    value = uint8_t(number);
    return true;
}

bool readFunctionSection(CamLineCursor& in, CamProgram& program, CamReadError* error) {
    if (!in.ReadLine())
        return setError(error, in, Why::Empty, QStringLiteral("the file is empty"));
    if (!in.Line().contains(QLatin1String("FUNZIONI")))
        return setError(error, in, Why::NoFunctionLine,
                        QStringLiteral("the first line is not \"FUNZIONI\""));
    const QStringView counts = in.Line().mid(8);
    const long long cams = std::llabs(LeadingNumber(counts.left(3), Rounding::HalfToEven));
    const long long formats = std::llabs(LeadingNumber(counts.right(3), Rounding::HalfToEven));
    if (cams > 99 || formats > 99 || !CamProgram::IsValidPair(int(cams), int(formats)))
        return setError(error, in, Why::NoSuchType,
                        QStringLiteral("no controller has that cam and format count"));
    program.Reconfigure(int(cams), int(formats), true);
    program.ProgramSaved = true;

    FunctionParameters& f = program.Parameters;
    if (!nextLine(in, error, "\"ANTICIPO CAMS\""))
        return false;
    if (in.Line().contains(QLatin1String("NUMERO ANTICIPI "))) {
        f.AdvanceCount = 0;
        if (!nextLine(in, error, "\"FORMATO IN USCITA\""))
            return false;
    } else if (in.Line().contains(QLatin1String("CAMS"))) {
        int count = program.CamCount();
        if (in.Line().contains(QLatin1String("01-04")))
            count /= 4;
        else if (in.Line().contains(QLatin1String("01-02")))
            count /= 2;
        f.AdvanceCount = int16_t(count);
        for (int k = 1; k <= count; ++k) {
            if (k > 1 && !nextLine(in, error, "\"ANTICIPO CAMS\""))
                return false;
            if (!readAdvance(in, error, f.CamAdvance[k - 1]))
                return false;
        }
        if (!nextLine(in, error, "\"FORMATO IN USCITA\""))
            return false;
    }
    return readParameter(in, error, "FORMATO", 3, f.OutputFormat) &&
           nextLine(in, error, "\"SFASAMENTO\"") &&
           readParameter(in, error, "SFASAMENTO", 4, f.EncoderShift) &&
           nextLine(in, error, "\"SENSO\"") &&
           readParameter(in, error, "SENSO", 3, f.RotationSense) &&
           nextLine(in, error, "\"LIMITE\"") && readSpeedLimit(in, error, f.SpeedLimit);
}

CamReadResult failed(CamReadResult::Status status) {
    CamReadResult result;
    result.status = status;
    return result;
}

} // namespace

SectionStop ReadFormatSection(CamLineCursor& in, CamProgram& program, int format,
                              CamReadError* error) {
    if (!program.IsValidFormat(format)) {
        const QString last = QString::number(program.FormatCount());
        setError(error, in, Why::FormatOutside,
                 QStringLiteral("format number outside 1..%1").arg(last), last);
        return SectionStop::Failed;
    }
    return readSection(in, ProgramFormat{program, format}, error);
}

SectionStop ReadFormatSection(CamLineCursor& in, FormatScratch& scratch, CamReadError* error) {
    return readSection(in, ScratchFormat{scratch}, error);
}

CamReadResult ReadCamBytes(CamProgram& program, const QByteArray& bytes) {
    CamReadResult result;
    CamLineCursor in(bytes);
    if (!readFunctionSection(in, program, &result.error)) {
        result.status = CamReadResult::Status::Failed;
        return result;
    }
    if (in.AtEnd())
        return result; // a program without formats
    // One blank line may stand between the function section and the first format.
    in.ReadLine();
    if (in.Line().isEmpty() && !in.AtEnd())
        in.ReadLine();
    for (;;) {
        const QStringView line = in.Line();
        if (line.contains(QLatin1String("FORMATO N. "))) {
            const long long format = LeadingNumber(line.right(2), Rounding::HalfToEven);
            if (format < 1 || format > program.FormatCount()) {
                const QString last = QString::number(program.FormatCount());
                setError(&result.error, in, Why::FormatOutside,
                         QStringLiteral("format number outside 1..%1").arg(last), last);
                result.status = CamReadResult::Status::Failed;
                break;
            }
            const SectionStop stop = ReadFormatSection(in, program, int(format), &result.error);
            if (stop == SectionStop::Failed)
                result.status = CamReadResult::Status::Failed;
            if (stop != SectionStop::FormatHeader)
                break;
        } else if (line.contains(QLatin1String("END")) || (line.isEmpty() && in.AtEnd())) {
            break;
        } else {
            setError(&result.error, in, Why::NotAFormatHeader,
                     QStringLiteral("a line that is not a format header"));
            result.status = CamReadResult::Status::Failed;
            break;
        }
    }
    if (program.CurrentFormat == 0)
        program.CurrentFormat = 1;
    return result;
}

QList<CamReadError> DamagedLines(const QByteArray& bytes) {
    QList<CamReadError> damaged;
    CamLineCursor in(bytes);
    bool inSection = false;
    long long on = 0;
    long long off = 0;
    while (in.ReadLine()) {
        const QStringView line = in.Line();
        if (line.isEmpty())
            continue;
        CamReadError error;
        if (line.startsWith(QLatin1Char('C'))) {
            if (inSection && camNumber(line) < 0)
                setError(&error, in, Why::CamNumberNotDigits, QLatin1String(NotACamNumber), {},
                         CamReadError::Damage::CamNumber);
        } else if (line.contains(QLatin1String("FORMATO N. "))) {
            inSection = true;
        } else if (line.contains(QLatin1String("END"))) {
            inSection = false;
        } else if (inSection && line.startsWith(QLatin1Char(' ')) && !phaseAngles(line, on, off)) {
            setError(&error, in, Why::NotAPhase, QLatin1String(NotAPhase), {},
                     CamReadError::Damage::Phase);
        }
        if (error.Damaged != CamReadError::Damage::None)
            damaged.append(error);
    }
    return damaged;
}

CamReadResult ReadCamFile(CamProgram& program, const QString& path) {
    if (path.isEmpty() || !QFileInfo::exists(path))
        return failed(CamReadResult::Status::Missing);
    QByteArray bytes;
    QString cause;
    if (!FileAccess::ReadInput(path, FileAccess::CamFileLimit, bytes, &cause)) {
        CamReadResult result = failed(CamReadResult::Status::Unreadable);
        result.error.Reason = cause;
        return result;
    }
    return ReadCamBytes(program, bytes);
}

#include "model/CamFileWriter.h"

#include "model/LanguageTexts.h"

#include "model/CamProgram.h"
#include "model/FileAccess.h"
#include "model/NumberForms.h"
#include "model/TextFile.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

using NumberForms::Printed;
using NumberForms::TwoDigits;

void CamFileText::AddLine(QStringView line) {
    bool plain = true;
    for (const QChar ch : line) {
        if (ch.unicode() >= 0x80) {
            plain = false;
            break;
        }
    }
    if (plain) {
        const qsizetype at = bytes_.size();
        bytes_.resize(at + line.size());
        char* out = bytes_.data() + at;
        for (const QChar ch : line)
            *out++ = static_cast<char>(ch.unicode());
    } else {
        bytes_ += TextFile::EncodeCp1252(line.toString());
    }
    bytes_ += "\r\n";
    ++lines_;
}

namespace {
// " 045 090": ON and OFF angles as three-digit fields, written into the buffer's entry in
// place: a large program has over a hundred thousand of these lines, and a reused buffer
// then builds them without allocating.
void setPhaseLine(QString& line, int on, int off) {
    line.resize(8);
    QChar* out = line.data();
    auto put = [](QChar* at, int angle) {
        at[0] = QLatin1Char(char('0' + angle / 100 % 10));
        at[1] = QLatin1Char(char('0' + angle / 10 % 10));
        at[2] = QLatin1Char(char('0' + angle % 10));
    };
    out[0] = QLatin1Char(' ');
    put(out + 1, on);
    out[4] = QLatin1Char(' ');
    put(out + 5, off);
}

int advanceValue(const CamProgram& program, int k) {
    const auto& advance = program.Parameters.CamAdvance;
    // An advance count that does not fit the cam count must never read past the table.
    return k >= 1 && std::size_t(k) <= advance.size() ? advance[k - 1] : 0;
}
} // namespace

void BuildCamLines(const CamProgram& program, int format, int cam, bool portOpen,
                   CamLineBuffer& buffer) {
    const std::vector<Phase> phases = program.ListPhases(format, cam);
    int entry = 1;
    for (const Phase& p : phases) {
        if (entry >= CamLineBuffer::Entries - 1)
            break;
        setPhaseLine(buffer.Lines[entry++], p.On, p.Off);
    }
    buffer.Lines[entry].clear();

    const QString name = program.CamName(cam);
    const bool named = !name.trimmed().isEmpty();
    if (phases.empty() && !(named && format == 1)) {
        buffer.Lines[0].clear();
        return;
    }
    QString header = QStringLiteral("C ") + TwoDigits(cam);
    if (named && (!portOpen || format == 1))
        header += QLatin1Char('"') + name + QLatin1Char('"');
    buffer.Lines[0] = header;
}

void WriteFunctionSection(const CamProgram& program, CamFileText& out) {
    const FunctionParameters& f = program.Parameters;
    const int cams = program.CamCount();
    out.AddLine(QStringLiteral("FUNZIONI ") + TwoDigits(cams) + QLatin1Char('-') +
                TwoDigits(program.FormatCount()));
    if (f.AdvanceCount >= cams) {
        for (int k = 1; k <= cams; ++k)
            out.AddLine(QStringLiteral("ANTICIPO CAMS  ") + TwoDigits(k) + QStringLiteral(" ms ") +
                        Printed(advanceValue(program, k)));
    } else if (f.AdvanceCount < 1) {
        out.AddLine(QStringLiteral("NUMERO ANTICIPI ") + Printed(f.AdvanceCount));
    } else {
        const int g = cams / f.AdvanceCount;
        for (int a = 1; a <= cams; a += g)
            out.AddLine(QStringLiteral("ANTICIPO CAMS   ") + TwoDigits(a) + QLatin1Char('-') +
                        TwoDigits(a + g - 1) + QStringLiteral("  ms ") +
                        Printed(advanceValue(program, a / g + 1)));
    }
    out.AddLine(QStringLiteral("FORMATO IN USCITA ") + Printed(f.OutputFormat));
    out.AddLine(QStringLiteral("SFASAMENTO ENCODER ") + Printed(f.EncoderShift));
    out.AddLine(QStringLiteral("SENSO DI ROTAZIONE ") + Printed(f.RotationSense));
    out.AddLine(QStringLiteral("LIMITE DI VELOCITA'") + Printed(f.SpeedLimit));
}

void WriteFormatSection(const CamProgram& program, int format, bool portOpen, CamFileText& out) {
    out.AddLine(QStringLiteral(" FORMATO N. ") + TwoDigits(format));
    CamLineBuffer buffer;
    for (int cam = 1; cam <= program.CamCount(); ++cam) {
        BuildCamLines(program, format, cam, portOpen, buffer);
        for (int i = 0; i < CamLineBuffer::Entries && !buffer.Lines[i].isEmpty(); ++i)
            out.AddLine(buffer.Lines[i]);
    }
}

CamFileText CamFileContents(const CamProgram& program, bool portOpen) {
    CamFileText out;
    WriteFunctionSection(program, out);
    for (int format = 1; format <= program.FormatCount(); ++format)
        WriteFormatSection(program, format, portOpen, out);
    out.AddLine(QStringLiteral("END"));
    return out;
}

namespace {
using Why = FileWriteError::Why;

void fail(FileWriteError* error, int number, const QString& path, Why why, const QString& cause) {
    if (error) {
        error->Number = number;
        error->What = QDir::toNativeSeparators(path) + QStringLiteral(": ") + cause;
        error->Path = QDir::toNativeSeparators(path);
        error->Reasoned = why;
        error->SystemCause = why == Why::System ? cause : QString();
    }
}
} // namespace

QString FileWriteErrorText(const FileWriteError& error, const LanguageTexts& texts) {
    QString cause = error.SystemCause;
    switch (error.Reasoned) {
    case Why::System:
        break;
    case Why::NoFileName:
        cause = texts.Text(249);
        break;
    case Why::NoDirectory:
        cause = texts.Text(337);
        break;
    case Why::IsDirectory:
        cause = texts.Text(338);
        break;
    }
    return error.Path + QStringLiteral(": ") + cause;
}

bool WriteCamFile(const CamProgram& program, const QString& path, bool portOpen,
                  FileWriteError* error) {
    const QFileInfo target(path);
    if (path.isEmpty() || target.fileName().isEmpty()) {
        fail(error, 75, path, Why::NoFileName, QStringLiteral("no file name"));
        return false;
    }
    if (!target.absoluteDir().exists()) {
        fail(error, 76, path, Why::NoDirectory, QStringLiteral("the directory does not exist"));
        return false;
    }
    if (target.isDir()) {
        fail(error, 75, path, Why::IsDirectory, QStringLiteral("a directory has that name"));
        return false;
    }
    const CamFileText text = CamFileContents(program, portOpen);
    QSaveFile file(path);
    // Unbuffered, so a write cut short (a full disk, a size limit) shows in write()'s count
    // instead of vanishing inside a buffered flush that still commits a truncated file.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        fail(error, 70, path, Why::System, file.errorString());
        return false;
    }
    if (!FileAccess::WriteAll(file, text.Bytes())) {
        const QString cause = FileAccess::WriteCause(file);
        file.cancelWriting();
        fail(error, 61, path, Why::System, cause);
        return false;
    }
    if (!file.commit()) {
        fail(error, 75, path, Why::System, FileAccess::WriteCause(file));
        return false;
    }
    return true;
}

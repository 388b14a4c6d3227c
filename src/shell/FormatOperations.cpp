#include "shell/FormatOperations.h"

#include "dialogs/CommonDialog.h"
#include "dialogs/Prompts.h"
#include "model/CamFileName.h"
#include "model/CamFileReader.h"
#include "model/CamLineCursor.h"
#include "model/FileAccess.h"
#include "model/FormatScratch.h"
#include "model/NumberForms.h"
#include "model/TextFile.h"
#include "shell/Session.h"

#include <QDir>
#include <QFileInfo>

#include <cstdlib>
#include <cstring>

namespace FormatOperations {

namespace {
// A format number outside 1..FormatCount: text 21 and the answer as typed. The current
// format stays as it was (a silent switch to format 1 would change the source of a
// following copy), and the question comes again proposing 1.
void rejectFormatNumber(Session& session, const QString& answer) {
    session.prompts.message(session.Text(21) + answer, session.Text(20), Prompts::Buttons::Ok,
                            Prompts::Icon::Warning);
}

int shownFormat(const CamProgram& program) {
    return program.CurrentFormat == 0 ? 1 : program.CurrentFormat;
}

// Ends a step of the edit history begun before a whole format changed.
void recordFormatStep(Session& session, StepLabel::Kind kind) {
    const CamProgram& p = session.program;
    session.edit.endChange({kind, shownFormat(p), p.CurrentCam, 0, 0});
}
} // namespace

bool SelectFormat(Session& session) {
    CamProgram& program = session.program;
    const QString prompt =
        session.Text(20) + QStringLiteral(" 1-") + NumberForms::Standard(program.FormatCount());
    QString proposal = QString::number(shownFormat(program));
    for (;;) {
        const std::optional<QString> answer =
            session.prompts.input(prompt, program.CurrentFileName, proposal);
        if (!answer || answer->trimmed().isEmpty())
            return false;
        const long long n =
            NumberForms::LeadingNumber(*answer, NumberForms::Rounding::ByFirstDecimal);
        if (n >= 1 && n <= program.FormatCount()) {
            if (n == program.CurrentFormat)
                return false;
            return session.edit.selectFormat(int(n));
        }
        rejectFormatNumber(session, *answer);
        proposal = QStringLiteral("1");
    }
}

bool CopyFormat(Session& session) {
    CamProgram& program = session.program;
    const int source = shownFormat(program);
    const QString prompt = session.Text(125) + NumberForms::Standard(source) + session.Text(126) +
                           QStringLiteral(" 1 -") + QString::number(program.FormatCount());
    QString proposal = QString::number(source);
    for (;;) {
        const std::optional<QString> answer =
            session.prompts.input(prompt, program.CurrentFileName, proposal);
        if (!answer || answer->trimmed().isEmpty())
            return false;
        const long long target =
            NumberForms::LeadingNumber(*answer, NumberForms::Rounding::ByFirstDecimal);
        if (target == source)
            return false;
        if (target >= 1 && target <= program.FormatCount()) {
            const std::size_t bytes = std::size_t(program.CamCount()) * CamProgram::Degrees;
            uint8_t* to = program.CamDegrees(int(target), 1);
            const uint8_t* from = program.CamDegrees(source, 1);
            if (std::memcmp(to, from, bytes) != 0) {
                session.edit.beginChange();
                std::memcpy(to, from, bytes);
                program.MarkChanged();
                recordFormatStep(session, StepLabel::Kind::CopySize);
            }
            return true;
        }
        rejectFormatNumber(session, *answer);
        proposal = QStringLiteral("1");
    }
}

bool EraseFormat(Session& session) {
    CamProgram& program = session.program;
    const int format = shownFormat(program);
    const Prompts::Answer answer = session.prompts.message(
        session.Text(2) + NumberForms::Standard(format) + QStringLiteral("'?"), session.Text(3),
        Prompts::Buttons::YesNoDefaultNo, Prompts::Icon::Question);
    if (answer != Prompts::Answer::Yes)
        return false;
    bool anyOn = false;
    for (int cam = 1; cam <= program.CamCount() && !anyOn; ++cam) {
        const uint8_t* d = program.CamDegrees(format, cam);
        for (int k = 0; k < CamProgram::Degrees && !anyOn; ++k)
            anyOn = d[k] != 0;
    }
    session.edit.beginChange();
    program.ClearFormat(format);
    if (anyOn)
        program.MarkChanged();
    recordFormatStep(session, StepLabel::Kind::EraseSize);
    return true;
}

} // namespace FormatOperations

namespace FormatOperations {

namespace {
// Shows the busy pointer for as long as it lives, whichever way Import Size ends.
class BusyPointer {
public:
    explicit BusyPointer(Prompts& prompts) : prompts_(prompts) { prompts_.setBusy(true); }
    ~BusyPointer() { prompts_.setBusy(false); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;

private:
    Prompts& prompts_;
};

// The open dialog for the file to import from; an empty text when none was chosen.
QString chooseImportFile(Session& session) {
    CommonDialog& dialog = session.dialog;
    dialog.DialogTitle = session.Text(8);
    dialog.Filter = session.Text(57) + QStringLiteral("(*.Cam)|*.cam|") + session.Text(73) +
                    QStringLiteral("(*.*)|*.*");
    dialog.FileName.clear();
    dialog.InitDir = CamFileStartFolder(QStringList{session.program.CurrentFileName} +
                                            session.options.RecentFiles,
                                        session.workDir);
    dialog.Flags = 0;
    dialog.CancelError = true;
    const QString before = QDir::currentPath();
    QString chosen;
    try {
        if (dialog.ShowOpen())
            chosen = dialog.FileName;
    } catch (const CommonDialogCancel&) {
        // A plain cancel ends Import Size silently; a failing dialog is reported and the
        // import goes on without a file, which ends it too.
        if (dialog.ExtendedError() != 0)
            session.prompts.message(session.Text(330) +
                                        NumberForms::Standard(dialog.ExtendedError()),
                                    QString(), Prompts::Buttons::Ok, Prompts::Icon::None);
    }
    QDir::setCurrent(before);
    return chosen;
}

// The format section of the import file to take; 0 when the operator gave up.
int askImportSection(Session& session, const QString& fileName) {
    const int formats = session.program.FormatCount();
    const QString prompt =
        session.Text(22) + QStringLiteral(" 1-") + NumberForms::Standard(formats);
    for (;;) {
        const std::optional<QString> answer =
            session.prompts.input(prompt, fileName, NumberForms::Standard(1));
        const long long n =
            answer ? NumberForms::LeadingNumber(*answer, NumberForms::Rounding::ByFirstDecimal) : 0;
        if (n == 0)
            return 0;
        if (n >= 1 && n <= formats)
            return int(n);
        session.prompts.message(session.Text(21) + NumberForms::Standard(n), session.Text(20),
                                Prompts::Buttons::Ok, Prompts::Icon::Warning);
    }
}

// The first line must name this program's controller: the same cam and format counts.
bool headerMatches(QStringView line, const CamProgram& program) {
    if (!line.contains(QLatin1String("FUNZIONI")))
        return false;
    const QString counts = line.mid(8).toString();
    const long long cams =
        std::llabs(NumberForms::LeadingNumber(counts.left(3), NumberForms::Rounding::Truncate));
    const long long formats =
        std::llabs(NumberForms::LeadingNumber(counts.right(3), NumberForms::Rounding::Truncate));
    return cams == program.CamCount() && formats == program.FormatCount();
}

void warn(Session& session, const QString& text) {
    session.prompts.message(text, QString(), Prompts::Buttons::Ok, Prompts::Icon::Warning);
}
} // namespace

bool ImportFormat(Session& session, QString& importFileName) {
    importFileName = chooseImportFile(session);
    if (importFileName.isEmpty() || !QFileInfo(importFileName).isFile())
        return false;

    BusyPointer busy(session.prompts);
    const int section = askImportSection(session, importFileName);
    if (section == 0)
        return false;

    CamProgram& program = session.program;
    const QString fileTag = QStringLiteral("File [") + importFileName + QLatin1Char(']');
    QByteArray bytes;
    QString cause;
    if (!FileAccess::ReadInput(importFileName, FileAccess::CamFileLimit, bytes, &cause)) {
        warn(session,
             fileTag + QStringLiteral(": ") + FileAccess::LocalCause(cause, session.texts));
        return false;
    }
    CamLineCursor in(bytes);
    if (!in.ReadLine() || !headerMatches(in.Line(), program)) {
        warn(session, fileTag + session.Text(10));
        return false;
    }

    const QString header = QStringLiteral("FORMATO N. ") + NumberForms::TwoDigits(section);
    bool found = false;
    while (!found && in.ReadLine())
        found = in.Line().contains(header);
    // A file without the section, or a section that does not read cleanly, leaves the
    // current format as it was, and the operator is told which file and section.
    const QString sectionTag = fileTag + QLatin1Char(' ') + header;
    if (!found) {
        warn(session, sectionTag + session.Text(10));
        return false;
    }
    FormatScratch scratch(program.CamCount());
    CamReadError error;
    if (ReadFormatSection(in, scratch, &error) == SectionStop::Failed) {
        warn(session, sectionTag + QStringLiteral(": ") + error.Line + session.Text(10));
        return false;
    }
    const int format = shownFormat(program);
    session.edit.beginChange();
    if (!scratch.ApplyTo(program, format)) {
        session.edit.endChange({});
        return false;
    }
    program.MarkChanged();
    recordFormatStep(session, StepLabel::Kind::ImportSize);
    return true;
}

} // namespace FormatOperations

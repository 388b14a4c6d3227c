#include "model/FormatOperations.h"

#include "dialogs/Prompts.h"
#include "model/NumberForms.h"
#include "model/PromptAnswer.h"
#include "shell/Session.h"

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
        const long long n = PromptAnswer::Value(*answer);
        if (n >= 1 && n <= program.FormatCount()) {
            if (n == program.CurrentFormat)
                return false;
            program.CurrentFormat = int(n);
            return true;
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
        const long long target = PromptAnswer::Value(*answer);
        if (target == source)
            return false;
        if (target >= 1 && target <= program.FormatCount()) {
            const std::size_t bytes = std::size_t(program.CamCount()) * CamProgram::Degrees;
            uint8_t* to = program.CamDegrees(int(target), 1);
            const uint8_t* from = program.CamDegrees(source, 1);
            if (std::memcmp(to, from, bytes) != 0) {
                std::memcpy(to, from, bytes);
                program.MarkChanged();
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
        Prompts::Buttons::YesNo, Prompts::Icon::Question);
    if (answer != Prompts::Answer::Yes)
        return false;
    bool anyOn = false;
    for (int cam = 1; cam <= program.CamCount() && !anyOn; ++cam) {
        const uint8_t* d = program.CamDegrees(format, cam);
        for (int k = 0; k < CamProgram::Degrees && !anyOn; ++k)
            anyOn = d[k] != 0;
    }
    program.ClearFormat(format);
    if (anyOn)
        program.MarkChanged();
    return true;
}

} // namespace FormatOperations

namespace FormatOperations {
bool ImportFormat(Session& session, QString& importFileName) {
    Q_UNUSED(session);
    Q_UNUSED(importFileName);
    return false;
}
} // namespace FormatOperations

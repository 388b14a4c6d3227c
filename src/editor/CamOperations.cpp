#include "editor/CamOperations.h"

#include "dialogs/Prompts.h"
#include "model/CamProgram.h"
#include "model/LanguageTexts.h"
#include "model/NumberForms.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace CamOperations {

namespace {
constexpr int Degrees = CamProgram::Degrees;

// Writes 360 new states into a cam and marks the program changed when they differ: a work
// that changed degrees must never be thrown away by Exit, New or Open without a question.
void writeCam(CamProgram& program, int format, int cam, const uint8_t* states) {
    uint8_t* target = program.CamDegrees(format, cam);
    if (std::memcmp(target, states, Degrees) == 0)
        return;
    std::memcpy(target, states, Degrees);
    program.MarkChanged();
}
} // namespace

Redraw CopyCam(CamProgram& program, Prompts& prompts, const LanguageTexts& texts) {
    const QString title = texts.Text(24);
    const std::optional<QString> answer =
        prompts.input(texts.Text(24) + NumberForms::Standard(program.CurrentCam) + texts.Text(25) +
                          NumberForms::Standard(program.CamCount()),
                      title, QString());
    if (!answer || answer->trimmed().isEmpty())
        return Redraw::Nothing;
    const long long target =
        NumberForms::LeadingNumber(*answer, NumberForms::Rounding::ByFirstDecimal);
    if (target == program.CurrentCam)
        return Redraw::Nothing;
    if (target > program.CamCount() || target < 0) {
        prompts.message(NumberForms::Standard(target) + texts.Text(26), title, Prompts::Buttons::Ok,
                        Prompts::Icon::Warning);
        return Redraw::Nothing;
    }
    if (target > 0) {
        std::array<uint8_t, Degrees> source{};
        std::memcpy(source.data(), program.CamDegrees(program.CurrentFormat, program.CurrentCam),
                    Degrees);
        writeCam(program, program.CurrentFormat, int(target), source.data());
    }
    return Redraw::WholeFormat;
}

void ShiftDegrees(uint8_t* degrees, long long shift) {
    shift %= Degrees;
    if (shift < 0)
        shift += Degrees;
    if (shift == 0)
        return;
    std::array<uint8_t, Degrees> before{};
    std::memcpy(before.data(), degrees, Degrees);
    for (int i = 0; i < Degrees; ++i)
        degrees[i] = before[std::size_t((i - shift + Degrees) % Degrees)];
}

Redraw ShiftCam(CamProgram& program, Prompts& prompts, const LanguageTexts& texts) {
    const std::optional<QString> answer = prompts.input(
        texts.Text(27) + NumberForms::Standard(program.CurrentCam), texts.Text(28), QString());
    if (!answer)
        return Redraw::Nothing;
    const long long shift =
        NumberForms::LeadingNumber(*answer, NumberForms::Rounding::ByFirstDecimal);
    if (shift % Degrees == 0)
        return Redraw::Nothing;
    std::array<uint8_t, Degrees> states{};
    std::memcpy(states.data(), program.CamDegrees(program.CurrentFormat, program.CurrentCam),
                Degrees);
    ShiftDegrees(states.data(), shift);
    writeCam(program, program.CurrentFormat, program.CurrentCam, states.data());
    return Redraw::CurrentCamRow;
}

Redraw EraseCam(CamProgram& program, Prompts& prompts, const LanguageTexts& texts) {
    const Prompts::Answer answer = prompts.message(
        texts.Text(15) + NumberForms::Standard(program.CurrentCam) + QStringLiteral("'?"),
        texts.Text(3), Prompts::Buttons::YesNoDefaultNo, Prompts::Icon::Question);
    if (answer != Prompts::Answer::Yes)
        return Redraw::Nothing;
    const std::array<uint8_t, Degrees> off{};
    writeCam(program, program.CurrentFormat, program.CurrentCam, off.data());
    return Redraw::WholeFormat;
}

} // namespace CamOperations

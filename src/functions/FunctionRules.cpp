#include "functions/FunctionRules.h"

#include "model/CamProgram.h"
#include "model/NumberForms.h"

#include <algorithm>
#include <cmath>

namespace FunctionRules {

int AdvanceCountFor(int mode, int camCount) {
    switch (mode) {
    case GroupsOfFour:
        return int(std::lround(camCount * 0.25));
    case GroupsOfTwo:
        return int(std::lround(camCount * 0.5));
    case PerCam:
        return camCount;
    default:
        return 0;
    }
}

int ModeFor(int advanceCount, int camCount) {
    if (advanceCount <= 0)
        return NoAdvance;
    for (int mode : {PerCam, GroupsOfTwo, GroupsOfFour}) {
        if (advanceCount == AdvanceCountFor(mode, camCount))
            return mode;
    }
    return NoAdvance;
}

std::vector<int> UsedEntries(int advanceCount, int camCount) {
    std::vector<int> used;
    if (advanceCount <= 0 || advanceCount > camCount)
        return used;
    const int step = camCount / advanceCount;
    for (int i = 0; i < camCount && int(used.size()) < advanceCount; i += step)
        used.push_back(i);
    return used;
}

QString EntryCaption(int mode, int entry, const QString& text82, const QString& text84) {
    const QString ms = QStringLiteral(" ms.");
    if (mode == PerCam)
        return text82 + NumberForms::TwoDigits(entry + 1) + ms;
    const int group = mode == GroupsOfFour ? 4 : 2;
    return text84 + QLatin1Char(' ') + NumberForms::TwoDigits(entry + 1) + QLatin1Char('-') +
           NumberForms::TwoDigits(entry + group) + ms;
}

FieldLimit LimitOf(int field, int formatCount) {
    switch (field) {
    case OutputFormatField:
        return {2, formatCount};
    case EncoderShiftField:
        return {3, 359};
    case RotationSenseField:
        return {1, 1};
    case SpeedLimitField:
        return {3, 999};
    default:
        return {3, MaxAdvance};
    }
}

QString PadToWidth(long long value, int width) {
    return (QStringLiteral("00") + QString::number(value)).right(width);
}

long long FieldValue(const QString& text) {
    long long value = 0;
    for (QChar c : text) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9') || value > 99999999)
            break;
        value = value * 10 + (c.unicode() - '0');
    }
    return value;
}

FunctionEdit FromProgram(const CamProgram& program) {
    const FunctionParameters& p = program.Parameters;
    FunctionEdit edit;
    edit.advanceCount = p.AdvanceCount;
    edit.entries.assign(std::size_t(program.CamCount()), 0);
    const std::vector<int> used = UsedEntries(p.AdvanceCount, program.CamCount());
    for (std::size_t k = 0; k < used.size() && k < p.CamAdvance.size(); ++k)
        edit.entries[std::size_t(used[k])] = p.CamAdvance[k];
    edit.outputFormat = p.OutputFormat;
    edit.encoderShift = p.EncoderShift;
    edit.rotationSense = p.RotationSense;
    edit.speedLimit = p.SpeedLimit;
    return edit;
}

void StoreInto(CamProgram& program, const FunctionEdit& edit) {
    FunctionParameters& p = program.Parameters;
    p.AdvanceCount = int16_t(edit.advanceCount);
    const std::vector<int> used = UsedEntries(edit.advanceCount, program.CamCount());
    for (std::size_t k = 0; k < used.size() && k < p.CamAdvance.size(); ++k) {
        const std::size_t entry = std::size_t(used[k]);
        const int value = entry < edit.entries.size() ? edit.entries[entry] : 0;
        p.CamAdvance[k] = uint8_t(std::clamp(value, 0, 255));
    }
    p.OutputFormat = int16_t(edit.outputFormat);
    p.EncoderShift = int16_t(edit.encoderShift);
    p.RotationSense = int16_t(edit.rotationSense);
    p.SpeedLimit = int16_t(edit.speedLimit);
    program.MarkChanged();
}

} // namespace FunctionRules

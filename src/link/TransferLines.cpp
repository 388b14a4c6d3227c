#include "link/TransferLines.h"

#include "model/CamProgram.h"
#include "model/NumberForms.h"

#include <algorithm>

namespace TransferLines {

namespace {
QByteArray hexDigits(unsigned value, int digits) {
    const QByteArray hex = QByteArray::number(value & 0xFFFFu, 16).toUpper();
    return hex.rightJustified(digits, '0').right(digits);
}
} // namespace

int AdvanceMode(const FunctionParameters& parameters, int camCount) {
    const int count = parameters.AdvanceCount;
    if (count == camCount / 4)
        return 1;
    if (count == camCount / 2)
        return 2;
    if (count == camCount)
        return 3;
    return 0;
}

int AdvanceCountOf(int mode, int camCount) {
    switch (mode) {
    case 1:
        return camCount / 4;
    case 2:
        return camCount / 2;
    case 3:
        return camCount;
    default:
        return 0;
    }
}

QByteArray AdvanceLine(const FunctionParameters& parameters, int camCount, int modeDigits) {
    const int mode = AdvanceMode(parameters, camCount);
    QByteArray line = QByteArray::number(mode).rightJustified(modeDigits, '0');
    const int count = AdvanceCountOf(mode, camCount);
    for (int k = 1; k <= count; ++k) {
        // A table shorter than the count sends 0 rather than reading past it.
        const unsigned value =
            std::size_t(k) <= parameters.CamAdvance.size() ? parameters.CamAdvance[k - 1] : 0;
        line += hexDigits(value, 2);
    }
    return line;
}

QByteArray ParameterLine(const FunctionParameters& parameters) {
    return hexDigits(uint16_t(parameters.OutputFormat), 2) +
           hexDigits(uint16_t(parameters.EncoderShift), 4) +
           hexDigits(uint16_t(parameters.RotationSense), 2) +
           hexDigits(uint16_t(parameters.SpeedLimit), 4);
}

unsigned HexValue(QStringView text) {
    unsigned value = 0;
    for (const QChar ch : text) {
        const char16_t digit = ch.unicode();
        int v = -1;
        if (digit >= '0' && digit <= '9')
            v = digit - '0';
        else if (digit >= 'A' && digit <= 'F')
            v = digit - 'A' + 10;
        else if (digit >= 'a' && digit <= 'f')
            v = digit - 'a' + 10;
        if (v < 0)
            break;
        value = (value << 4 | unsigned(v)) & 0xFFFFu;
    }
    return value;
}

void ReadAdvanceLine(QStringView line, int modeDigits, int camCount,
                     FunctionParameters& parameters) {
    const int mode = int(NumberForms::LeadingNumber(line.left(modeDigits).toString(),
                                                    NumberForms::Rounding::Truncate));
    const int count = AdvanceCountOf(mode, camCount);
    parameters.AdvanceCount = int16_t(count);
    if (parameters.CamAdvance.size() < std::size_t(camCount))
        parameters.CamAdvance.resize(std::size_t(camCount), 0);
    for (int k = 1; k <= count; ++k)
        parameters.CamAdvance[k - 1] = uint8_t(
            HexValue(line.mid(std::min<qsizetype>(modeDigits + 2 * (k - 1), line.size()), 2)));
}

void ReadParameterLine(QStringView line, FunctionParameters& parameters) {
    auto field = [&](qsizetype from, qsizetype length) {
        if (from >= line.size())
            return int16_t(0);
        return int16_t(uint16_t(HexValue(line.mid(from, length))));
    };
    parameters.OutputFormat = field(0, 2);
    parameters.EncoderShift = field(2, 4);
    parameters.RotationSense = field(6, 2);
    parameters.SpeedLimit = field(8, 4);
}

} // namespace TransferLines

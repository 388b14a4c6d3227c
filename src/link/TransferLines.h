#pragma once

#include <QByteArray>
#include <QStringView>

struct FunctionParameters;

// The function-parameter frames of a program transfer. The controller answers "?FR" with
// the advance mode in two decimal digits ("03" ...) and expects it in one after "?FW"
// ("3" ...); both directions carry the advance values as two hexadecimal digits each and
// the parameters as one line of 12 hexadecimal digits.
namespace TransferLines {

// 1 = one advance per group of four cams, 2 = per group of two, 3 = per cam, 0 = none;
// the count is tested against those group sizes in that order.
int AdvanceMode(const FunctionParameters& parameters, int camCount);
// The number of advance values a mode carries for camCount cams.
int AdvanceCountOf(int mode, int camCount);

// The mode in modeDigits characters, then AdvanceCount values.
QByteArray AdvanceLine(const FunctionParameters& parameters, int camCount, int modeDigits);
// OutputFormat in 2 digits, EncoderShift in 4, RotationSense in 2, SpeedLimit in 4: the
// 16-bit value in upper-case hexadecimal (two's complement), the last digits kept.
QByteArray ParameterLine(const FunctionParameters& parameters);

// Reads an advance line whose mode takes modeDigits decimal characters: AdvanceCount and
// CamAdvance. Values the line is too short for read 0.
void ReadAdvanceLine(QStringView line, int modeDigits, int camCount,
                     FunctionParameters& parameters);
// Reads a parameter line; every field as a 16-bit signed value, so "FFFF" is -1.
void ReadParameterLine(QStringView line, FunctionParameters& parameters);

// The leading hexadecimal digits of text as a number (0 when there are none).
unsigned HexValue(QStringView text);

} // namespace TransferLines

#pragma once

#include <QString>

#include <vector>

class CamProgram;

// The rules of the function parameters: how the advance mode maps to the number of advance
// values, which entries a mode uses and how they are captioned, the limits of every field,
// and how an accepted edit is written back into the program.
namespace FunctionRules {

// The advance modes, in the order of their option buttons.
enum AdvanceMode { NoAdvance = 0, GroupsOfFour = 1, GroupsOfTwo = 2, PerCam = 3 };

// The field numbers of the four parameters; advance entries are numbered 0..CamCount-1.
constexpr int OutputFormatField = 100;
constexpr int EncoderShiftField = 101;
constexpr int RotationSenseField = 102;
constexpr int SpeedLimitField = 103;

// The highest advance the controller accepts, in milliseconds.
constexpr int MaxAdvance = 210;

// The number of advance values a mode uses with camCount cams.
int AdvanceCountFor(int mode, int camCount);
// The mode whose count is advanceCount; a count no mode gives means no advance.
int ModeFor(int advanceCount, int camCount);
// The entries a count of advance values uses: 0, g, 2g, ... with g = camCount / count.
std::vector<int> UsedEntries(int advanceCount, int camCount);
// The caption of entry (0-based) in a mode: text 84 and " 01-04 ms." for a group of four,
// text 84 and " 01-02 ms." for a group of two, text 82 and "01 ms." for a single cam.
QString EntryCaption(int mode, int entry, const QString& text82, const QString& text84);

// Width in digits and highest value of a field.
struct FieldLimit {
    int width = 3;
    int maximum = 0;
};
FieldLimit LimitOf(int field, int formatCount);
// The value written zero-padded to the field's width: 7 in 3 digits gives "007".
QString PadToWidth(long long value, int width);
// The value of a field's text: its leading digits, 0 when there are none.
long long FieldValue(const QString& text);

// What the window edits, one value per field.
struct FunctionEdit {
    int advanceCount = 0;
    std::vector<int> entries; // CamCount values; only the used entries matter
    int outputFormat = 0;
    int encoderShift = 0;
    int rotationSense = 0;
    int speedLimit = 0;
};
// The program's parameters as the window shows them when it opens.
FunctionEdit FromProgram(const CamProgram& program);
// Writes an accepted edit back into the program and marks the program changed.
void StoreInto(CamProgram& program, const FunctionEdit& edit);

} // namespace FunctionRules

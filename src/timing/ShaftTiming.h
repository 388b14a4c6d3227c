#pragma once

#include "model/CamProgram.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

// The program as the machine runs it at a given speed. The controller anticipates each cam's
// outputs by its advance (milliseconds), so at n rpm a cam switches a·n·6/1000 degrees earlier
// than programmed, and an angle lasts a time that shrinks as the speed grows. Angles at speed
// are held in tenths of a degree, times in tenths of a millisecond, shifts in thousandths of a
// degree: a·n·6 is then a whole number and nothing is rounded before the figure is shown.
namespace ShaftTiming {

constexpr int MinRpm = 1;
constexpr int MaxRpm = 20000;
// A minimum time longer than one turn at the slowest speed flags everything.
constexpr int MaxMinimumTenths = 600000;

// The advance in ms of cam 1..CamCount: its own entry, its group's, or 0 without advances.
int CamAdvanceMs(const FunctionParameters& parameters, int camCount, int cam);
// How much earlier a cam with this advance switches at rpm, in thousandths of a degree
// (not reduced to one turn).
long long ShiftMilli(int advanceMs, int rpm);
// Programmed angle 0..360 moved earlier by shiftMilli, to the nearest tenth, 0..3599.
int AtSpeedTenths(int angle, long long shiftMilli);
// The time width degrees last at rpm, to the nearest tenth of a millisecond.
int TimeTenths(int widthDegrees, int rpm);
// True when width degrees at rpm last less than minTenths (exactly, not from rounded figures).
bool IsShort(int widthDegrees, int rpm, int minTenths);
// The highest speed at which width degrees last at least minTenths; none for 0.
std::optional<long long> HighestRpm(int widthDegrees, int minTenths);

// A cam's phases for timing: its listed phases, or one phase 0..360 for a cam on all round
// (which the phase list leaves out, yet it is on for the whole turn).
std::vector<Phase> TimedPhases(const uint8_t* degrees);

struct TimedPhase {
    int On = 0;         // programmed, 0..359
    int Off = 0;        // programmed, 0..360 (360 only for a cam on all round)
    int OnAtSpeed = 0;  // tenths of a degree
    int OffAtSpeed = 0; // tenths of a degree
    int Width = 0;      // degrees
    int Tenths = 0;     // ms·10
    bool Short = false;
};

// From one phase's OFF to the next phase's ON, around the circle.
struct TimedGap {
    int From = 0;
    int To = 0;
    int Width = 0;
    int Tenths = 0;
    bool Short = false;
};

struct CamTiming {
    int Cam = 0;
    QString Name;
    int AdvanceMs = 0;
    long long ShiftMilli = 0;
    std::vector<TimedPhase> Phases;
    std::vector<TimedGap> Gaps;
};

struct FormatTiming {
    int Rpm = 0;
    int Format = 0;
    int MinTenths = 0;
    std::optional<long long> MaxRpm; // none when nothing is programmed or the minimum is 0
    std::vector<CamTiming> Cams;     // every cam of the format, those without phases too

    bool AnyShort() const;
};

// Every cam of one format at rpm, with phases and gaps shorter than minTenths flagged.
FormatTiming TimeFormat(const CamProgram& program, int format, int rpm, int minTenths);

// Whether a cam is on at shaft angle angleMilli (thousandths of a degree) when it switches
// shiftMilli earlier: it then shows what is programmed shiftMilli further on.
bool OnAtSpeed(const uint8_t* degrees, long long shiftMilli, long long angleMilli);

// The virtual shaft turns at rpm slowed by a factor: 1 (real time) up to 60 rpm, otherwise the
// smallest whole factor that makes one turn last at least 2 s.
int DefaultSlowDown(int rpm);
// Where the cursor stands after elapsedMs of real time, from angleMilli, slowed by factor.
long long TurnedMilli(long long angleMilli, long long elapsedMs, int rpm, int slowDown);
// The time at speed from 0° to angleMilli, in tenths of a millisecond.
long long AngleTimeTenths(long long angleMilli, int rpm);

// The speed typed by the operator: a whole number MinRpm..MaxRpm, nothing else.
std::optional<int> ParseRpm(const QString& text);
// The minimum time typed by the operator: 0..60000 ms with at most one decimal, in tenths.
std::optional<int> ParseMinimumTenths(const QString& text);

// 16.7 from 167; 034.0 with three whole digits (the line form of an angle at speed).
QString TenthsText(long long tenths);
QString AngleTenthsText(int tenths);

} // namespace ShaftTiming

#include "timing/ShaftTiming.h"

#include <QRegularExpression>

#include <algorithm>

namespace ShaftTiming {

namespace {
constexpr long long TurnMilli = 360000;

long long wrapMilli(long long milli) {
    const long long m = milli % TurnMilli;
    return m < 0 ? m + TurnMilli : m;
}

int widthOf(int from, int to) {
    const int w = to - from;
    return w <= 0 ? w + CamProgram::Degrees : w;
}
} // namespace

int CamAdvanceMs(const FunctionParameters& parameters, int camCount, int cam) {
    const int count = parameters.AdvanceCount;
    if (count <= 0 || count > camCount || cam < 1 || cam > camCount)
        return 0;
    // A count that is no mode's (never from a file) leaves the cams past its groups without.
    const int k = (cam - 1) / (camCount / count) + 1;
    if (k > count || k > int(parameters.CamAdvance.size()))
        return 0;
    return parameters.CamAdvance[std::size_t(k - 1)];
}

long long ShiftMilli(int advanceMs, int rpm) {
    return 6LL * advanceMs * rpm;
}

int AtSpeedTenths(int angle, long long shiftMilli) {
    const long long m = wrapMilli(angle * 1000LL - shiftMilli);
    return int(((m + 50) / 100) % 3600);
}

int TimeTenths(int widthDegrees, int rpm) {
    return int((widthDegrees * 10000LL + 3LL * rpm) / (6LL * rpm));
}

bool IsShort(int widthDegrees, int rpm, int minTenths) {
    return widthDegrees * 10000LL < 6LL * rpm * minTenths;
}

std::optional<long long> HighestRpm(int widthDegrees, int minTenths) {
    if (minTenths <= 0)
        return std::nullopt;
    return widthDegrees * 10000LL / (6LL * minTenths);
}

std::vector<Phase> TimedPhases(const uint8_t* degrees) {
    std::vector<Phase> phases = ListPhasesOf(degrees);
    if (phases.empty() && degrees[0])
        phases.push_back({0, CamProgram::Degrees});
    return phases;
}

bool FormatTiming::AnyShort() const {
    for (const CamTiming& cam : Cams) {
        for (const TimedPhase& p : cam.Phases)
            if (p.Short)
                return true;
        for (const TimedGap& g : cam.Gaps)
            if (g.Short)
                return true;
    }
    return false;
}

FormatTiming TimeFormat(const CamProgram& program, int format, int rpm, int minTenths) {
    FormatTiming timing;
    timing.Rpm = rpm;
    timing.Format = format;
    timing.MinTenths = minTenths;
    int narrowest = CamProgram::Degrees + 1;
    for (int c = 1; c <= program.CamCount(); ++c) {
        CamTiming cam;
        cam.Cam = c;
        cam.Name = program.CamName(c).trimmed();
        cam.AdvanceMs = CamAdvanceMs(program.Parameters, program.CamCount(), c);
        cam.ShiftMilli = ShiftMilli(cam.AdvanceMs, rpm);
        const std::vector<Phase> phases = TimedPhases(program.CamDegrees(format, c));
        for (std::size_t i = 0; i < phases.size(); ++i) {
            const Phase& p = phases[i];
            TimedPhase t;
            t.On = p.On;
            t.Off = p.Off;
            t.OnAtSpeed = AtSpeedTenths(p.On, cam.ShiftMilli);
            t.OffAtSpeed = AtSpeedTenths(p.Off, cam.ShiftMilli);
            t.Width = widthOf(p.On, p.Off);
            t.Tenths = TimeTenths(t.Width, rpm);
            t.Short = IsShort(t.Width, rpm, minTenths);
            cam.Phases.push_back(t);
            narrowest = std::min(narrowest, t.Width);
            if (t.Width == CamProgram::Degrees)
                continue; // on all round: there is no gap
            TimedGap g;
            g.From = p.Off;
            g.To = phases[(i + 1) % phases.size()].On;
            g.Width = widthOf(g.From, g.To);
            g.Tenths = TimeTenths(g.Width, rpm);
            g.Short = IsShort(g.Width, rpm, minTenths);
            cam.Gaps.push_back(g);
            narrowest = std::min(narrowest, g.Width);
        }
        timing.Cams.push_back(std::move(cam));
    }
    if (narrowest <= CamProgram::Degrees)
        timing.MaxRpm = HighestRpm(narrowest, minTenths);
    return timing;
}

bool OnAtSpeed(const uint8_t* degrees, long long shiftMilli, long long angleMilli) {
    return degrees[wrapMilli(angleMilli + shiftMilli) / 1000] != 0;
}

int DefaultSlowDown(int rpm) {
    if (rpm <= 60)
        return 1;
    return (rpm + 29) / 30;
}

long long TurnedMilli(long long angleMilli, long long elapsedMs, int rpm, int slowDown) {
    return wrapMilli(angleMilli + elapsedMs * 6LL * rpm / std::max(1, slowDown));
}

long long AngleTimeTenths(long long angleMilli, int rpm) {
    return (angleMilli * 20 + 6LL * rpm) / (12LL * rpm);
}

std::optional<int> ParseRpm(const QString& text) {
    static const QRegularExpression digits(QStringLiteral("^[0-9]{1,5}$"));
    const QString t = text.trimmed();
    if (!digits.match(t).hasMatch())
        return std::nullopt;
    const int rpm = t.toInt();
    if (rpm < MinRpm || rpm > MaxRpm)
        return std::nullopt;
    return rpm;
}

std::optional<int> ParseMinimumTenths(const QString& text) {
    // An Italian keyboard types the decimal comma.
    static const QRegularExpression number(QStringLiteral("^([0-9]{1,5})(?:[.,]([0-9]))?$"));
    const QRegularExpressionMatch m = number.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    const int tenths =
        m.captured(1).toInt() * 10 + (m.captured(2).isEmpty() ? 0 : m.captured(2).toInt());
    if (tenths > MaxMinimumTenths)
        return std::nullopt;
    return tenths;
}

QString TenthsText(long long tenths) {
    return QString::number(tenths / 10) + QLatin1Char('.') + QString::number(tenths % 10);
}

QString AngleTenthsText(int tenths) {
    return QStringLiteral("%1.%2").arg(tenths / 10, 3, 10, QLatin1Char('0')).arg(tenths % 10);
}

} // namespace ShaftTiming

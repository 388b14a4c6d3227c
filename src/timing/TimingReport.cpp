#include "timing/TimingReport.h"

#include <QJsonArray>
#include <QJsonDocument>

using namespace ShaftTiming;

namespace {
QString three(int n) {
    return QStringLiteral("%1").arg(n, 3, 10, QLatin1Char('0'));
}

QString camPlace(int cam) {
    return QStringLiteral("C%1").arg(cam, 2, 10, QLatin1Char('0'));
}

QString shortMark(bool isShort) {
    return isShort ? QStringLiteral("  SHORT") : QString();
}

// Thousandths of a degree to the nearest tenth.
long long shiftTenths(long long milli) {
    return (milli + 50) / 100;
}

QByteArray number(long long tenths) {
    return TenthsText(tenths).toUtf8();
}

QByteArray boolean(bool value) {
    return value ? "true" : "false";
}

// A JSON string with its escapes, as QJsonDocument writes it.
QByteArray jsonString(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

template <typename T, typename F> QByteArray jsonList(const std::vector<T>& items, F item) {
    QByteArray out = "[";
    for (std::size_t i = 0; i < items.size(); ++i)
        out += (i ? ",{" : "{") + item(items[i]) + "}";
    return out + "]";
}
} // namespace

QStringList TimingLines(const FormatTiming& timing) {
    QStringList lines;
    for (const CamTiming& cam : timing.Cams) {
        if (cam.Phases.empty())
            continue;
        const QString place = camPlace(cam.Cam);
        lines << place + QStringLiteral(" \"") + cam.Name + QStringLiteral("\" ADVANCE ") +
                     QString::number(cam.AdvanceMs) + QStringLiteral(" ms SHIFT ") +
                     TenthsText(shiftTenths(cam.ShiftMilli));
        for (const TimedPhase& p : cam.Phases)
            lines << place + QStringLiteral(" ON ") + three(p.On) + QStringLiteral(" OFF ") +
                         three(p.Off) + QStringLiteral("  at speed ") +
                         AngleTenthsText(p.OnAtSpeed) + QLatin1Char(' ') +
                         AngleTenthsText(p.OffAtSpeed) + QStringLiteral("  ") +
                         TenthsText(p.Tenths) + QStringLiteral(" ms") + shortMark(p.Short);
        for (const TimedGap& g : cam.Gaps)
            lines << place + QStringLiteral(" GAP ") + three(g.From) + QLatin1Char(' ') +
                         three(g.To) + QStringLiteral("  ") + TenthsText(g.Tenths) +
                         QStringLiteral(" ms") + shortMark(g.Short);
    }
    lines << QStringLiteral("MAX RPM ") +
                 (timing.MaxRpm ? QString::number(*timing.MaxRpm) : QStringLiteral("none"));
    return lines;
}

QByteArray TimingJson(const FormatTiming& timing) {
    std::vector<CamTiming> cams;
    for (const CamTiming& cam : timing.Cams)
        if (!cam.Phases.empty())
            cams.push_back(cam);
    const QByteArray minimum = timing.MinTenths % 10 == 0
                                   ? QByteArray::number(timing.MinTenths / 10)
                                   : number(timing.MinTenths);
    QByteArray out =
        "{\"rpm\":" + QByteArray::number(timing.Rpm) +
        ",\"format\":" + QByteArray::number(timing.Format) + ",\"min_ms\":" + minimum +
        ",\"max_rpm\":" + (timing.MaxRpm ? QByteArray::number(*timing.MaxRpm) : QByteArray("null"));
    out += ",\"cams\":" + jsonList(cams, [](const CamTiming& c) {
               return "\"cam\":" + QByteArray::number(c.Cam) + ",\"name\":" + jsonString(c.Name) +
                      ",\"advance_ms\":" + QByteArray::number(c.AdvanceMs) +
                      ",\"shift_deg\":" + number(shiftTenths(c.ShiftMilli)) + ",\"phases\":" +
                      jsonList(c.Phases,
                               [](const TimedPhase& p) {
                                   return "\"on\":" + QByteArray::number(p.On) +
                                          ",\"off\":" + QByteArray::number(p.Off) +
                                          ",\"on_at_speed\":" + number(p.OnAtSpeed) +
                                          ",\"off_at_speed\":" + number(p.OffAtSpeed) +
                                          ",\"ms\":" + number(p.Tenths) +
                                          ",\"short\":" + boolean(p.Short);
                               }) +
                      ",\"gaps\":" + jsonList(c.Gaps, [](const TimedGap& g) {
                          return "\"from\":" + QByteArray::number(g.From) +
                                 ",\"to\":" + QByteArray::number(g.To) +
                                 ",\"ms\":" + number(g.Tenths) + ",\"short\":" + boolean(g.Short);
                      });
           });
    return out + "}";
}

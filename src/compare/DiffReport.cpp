#include "compare/DiffReport.h"
#include "model/LanguageTexts.h"

#include "model/NumberForms.h"

#include <QJsonArray>
#include <QJsonDocument>

using NumberForms::ThreeDigits;
using NumberForms::TwoDigits;

namespace {

QString sides(const QString& a, const QString& b) {
    return QStringLiteral("  A: ") + a + QStringLiteral("  B: ") + b;
}

// "C24-06": the type as check prints it and the cam file's header spells it.
QString designation(int cams, int formats) {
    return QLatin1Char('C') + TwoDigits(cams) + QLatin1Char('-') + TwoDigits(formats);
}

QString quoted(const QString& name) {
    return QLatin1Char('"') + name + QLatin1Char('"');
}

// A JSON string with its escapes, as QJsonDocument writes it.
QByteArray jsonString(const QString& text) {
    const QByteArray array = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
    return array.mid(1, array.size() - 2);
}

QByteArray jsonPhases(const std::vector<Phase>& phases) {
    QByteArray out("[");
    for (std::size_t i = 0; i < phases.size(); ++i) {
        if (i > 0)
            out += ", ";
        out +=
            '[' + QByteArray::number(phases[i].On) + ", " + QByteArray::number(phases[i].Off) + ']';
    }
    return out + ']';
}

template <typename T, typename F> QByteArray jsonList(const std::vector<T>& items, F item) {
    QByteArray out("[");
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            out += ", ";
        out += '{' + item(items[i]) + '}';
    }
    return out + ']';
}

} // namespace

QString CamDifferencePlace(const CamDifference& cam) {
    return QLatin1Char('F') + TwoDigits(cam.Format) + QStringLiteral(" C") + TwoDigits(cam.Cam);
}

QString DiffCounts(const ProgramDiff& diff, const LanguageTexts& texts) {
    auto counted = [](std::size_t n, const QString& one, const QString& many) {
        return QString::number(n) + QLatin1Char(' ') + (n == 1 ? one : many);
    };
    return counted(diff.Cams.size(), texts.Text(324), texts.Text(325)) + QStringLiteral(", ") +
           counted(diff.Names.size(), texts.Text(326), texts.Text(327)) + QStringLiteral(", ") +
           counted(diff.Parameters.size(), texts.Text(328), texts.Text(329));
}

QString PhasesText(const std::vector<Phase>& phases) {
    if (phases.empty())
        return QStringLiteral("none");
    QString text;
    for (const Phase& p : phases) {
        if (!text.isEmpty())
            text += QStringLiteral(", ");
        text += ThreeDigits(p.On) + QLatin1Char(' ') + ThreeDigits(p.Off);
    }
    return text;
}

QStringList DiffLines(const ProgramDiff& diff) {
    QStringList lines;
    if (!diff.SameType())
        lines << QStringLiteral("TYPE") + sides(designation(diff.CamsA, diff.FormatsA),
                                                designation(diff.CamsB, diff.FormatsB));
    for (const CamDifference& c : diff.Cams)
        lines << CamDifferencePlace(c) + sides(PhasesText(c.A), PhasesText(c.B));
    for (const NameDifference& n : diff.Names)
        lines << QStringLiteral("NAME C") + TwoDigits(n.Cam) + sides(quoted(n.A), quoted(n.B));
    for (const ParameterDifference& p : diff.Parameters)
        lines << p.Name + sides(QString::number(p.A), QString::number(p.B));
    return lines;
}

QByteArray DiffJson(const ProgramDiff& diff) {
    QByteArray out("{\"same\": ");
    out += diff.Same() ? "true" : "false";
    out += ", \"type\": [" + jsonString(designation(diff.CamsA, diff.FormatsA)) + ", " +
           jsonString(designation(diff.CamsB, diff.FormatsB)) + "]";
    out += ", \"cams\": " + jsonList(diff.Cams, [](const CamDifference& c) {
               return "\"format\": " + QByteArray::number(c.Format) +
                      ", \"cam\": " + QByteArray::number(c.Cam) + ", \"a\": " + jsonPhases(c.A) +
                      ", \"b\": " + jsonPhases(c.B);
           });
    out += ", \"names\": " + jsonList(diff.Names, [](const NameDifference& n) {
               return "\"cam\": " + QByteArray::number(n.Cam) + ", \"a\": " + jsonString(n.A) +
                      ", \"b\": " + jsonString(n.B);
           });
    out += ", \"parameters\": " + jsonList(diff.Parameters, [](const ParameterDifference& p) {
               return "\"name\": " + jsonString(p.Name) + ", \"a\": " + QByteArray::number(p.A) +
                      ", \"b\": " + QByteArray::number(p.B);
           });
    return out + '}';
}

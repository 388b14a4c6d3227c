#include "compare/ProgramDiff.h"

#include "editor/CamRowWalk.h"
#include "model/NumberForms.h"

#include <algorithm>
#include <cstring>

using NumberForms::TwoDigits;

std::vector<Phase> EditorPhases(const uint8_t* degrees) {
    // The editor's own walk, so a difference lists a cam exactly as its phase list does.
    const QStringList items = WalkCamRow(degrees, true).items;
    std::vector<Phase> phases;
    phases.reserve(std::size_t(items.size()));
    for (const QString& item : items)
        phases.push_back({ItemOnText(item).toInt(), ItemOffText(item).toInt()});
    return phases;
}

namespace {

void diffCams(const CamProgram& a, const CamProgram& b, ProgramDiff& diff) {
    for (int format = 1; format <= a.FormatCount(); ++format) {
        for (int cam = 1; cam <= a.CamCount(); ++cam) {
            const uint8_t* da = a.CamDegrees(format, cam);
            const uint8_t* db = b.CamDegrees(format, cam);
            if (std::memcmp(da, db, CamProgram::Degrees) != 0)
                diff.Cams.push_back({format, cam, EditorPhases(da), EditorPhases(db)});
        }
    }
}

void diffNames(const CamProgram& a, const CamProgram& b, ProgramDiff& diff) {
    for (int cam = 1; cam <= a.CamCount(); ++cam) {
        if (a.CamName(cam) != b.CamName(cam))
            diff.Names.push_back({cam, a.CamName(cam), b.CamName(cam)});
    }
}

// Cams per advance entry: 1 per cam, 2 or 4 per group; 0 without advances.
int groupSize(const CamProgram& p) {
    const int count = p.Parameters.AdvanceCount;
    return count > 0 ? std::max(1, p.CamCount() / count) : 0;
}

int advanceEntry(const CamProgram& p, int entry) {
    const auto& advance = p.Parameters.CamAdvance;
    return entry >= 1 && std::size_t(entry) <= advance.size() ? advance[entry - 1] : 0;
}

// The advance cam 1..CamCount runs with.
int camAdvance(const CamProgram& p, int cam) {
    const int group = groupSize(p);
    return group > 0 ? advanceEntry(p, (cam - 1) / group + 1) : 0;
}

QString advanceName(int firstCam, int group) {
    QString name = QStringLiteral("ADVANCE C") + TwoDigits(firstCam);
    if (group > 1)
        name += QLatin1Char('-') + TwoDigits(firstCam + group - 1);
    return name;
}

void diffAdvance(const CamProgram& a, const CamProgram& b, ProgramDiff& diff) {
    const int countA = a.Parameters.AdvanceCount;
    const int countB = b.Parameters.AdvanceCount;
    if (countA == countB) {
        const int group = groupSize(a);
        for (int entry = 1; entry <= countA && group > 0; ++entry) {
            const int va = advanceEntry(a, entry);
            const int vb = advanceEntry(b, entry);
            const int firstCam = (entry - 1) * group + 1;
            if (va != vb)
                diff.Parameters.push_back({advanceName(firstCam, group), va, vb, firstCam});
        }
        return;
    }
    // Grouped differently: the entries do not line up, the advance of each cam does.
    diff.Parameters.push_back({QStringLiteral("NUMERO ANTICIPI"), countA, countB, 0});
    for (int cam = 1; cam <= a.CamCount(); ++cam) {
        const int va = camAdvance(a, cam);
        const int vb = camAdvance(b, cam);
        if (va != vb)
            diff.Parameters.push_back({advanceName(cam, 1), va, vb, cam});
    }
}

void diffParameters(const CamProgram& a, const CamProgram& b, ProgramDiff& diff) {
    diffAdvance(a, b, diff);
    const FunctionParameters& pa = a.Parameters;
    const FunctionParameters& pb = b.Parameters;
    const struct {
        const char* name;
        int16_t FunctionParameters::*field;
    } fields[] = {
        {"FORMATO IN USCITA", &FunctionParameters::OutputFormat},
        {"SFASAMENTO ENCODER", &FunctionParameters::EncoderShift},
        {"SENSO DI ROTAZIONE", &FunctionParameters::RotationSense},
        {"LIMITE DI VELOCITA'", &FunctionParameters::SpeedLimit},
    };
    for (const auto& f : fields) {
        if (pa.*f.field != pb.*f.field)
            diff.Parameters.push_back({QLatin1String(f.name), pa.*f.field, pb.*f.field, 0});
    }
}

} // namespace

ProgramDiff DiffPrograms(const CamProgram& a, const CamProgram& b) {
    ProgramDiff diff;
    diff.CamsA = a.CamCount();
    diff.FormatsA = a.FormatCount();
    diff.CamsB = b.CamCount();
    diff.FormatsB = b.FormatCount();
    if (!diff.SameType())
        return diff;
    diffCams(a, b, diff);
    diffNames(a, b, diff);
    diffParameters(a, b, diff);
    return diff;
}

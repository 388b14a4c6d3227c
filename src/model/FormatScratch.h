#pragma once

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class CamProgram;

// One format's cams and the names found with them, read apart from the program, so a
// section that turns out to be malformed never touches the format it was meant for.
class FormatScratch {
public:
    explicit FormatScratch(int camCount);

    int CamCount() const { return camCount_; }
    // The 360 states of cam 1..CamCount.
    uint8_t* CamDegrees(int cam);
    const uint8_t* CamDegrees(int cam) const;
    // The name a section gave cam 1..CamCount, if it gave one.
    const std::optional<QString>& Name(int cam) const { return names_.at(cam - 1); }
    void SetName(int cam, const QString& name) { names_.at(cam - 1) = name; }

    // Replaces every cam of format with the scratch cams and takes over the names found.
    // Nothing happens when the cam counts differ or the format does not exist.
    bool ApplyTo(CamProgram& program, int format) const;

private:
    int camCount_;
    std::vector<uint8_t> degrees_;
    std::vector<std::optional<QString>> names_;
};

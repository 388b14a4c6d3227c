#include "model/FormatScratch.h"

#include "model/CamProgram.h"

#include <algorithm>

FormatScratch::FormatScratch(int camCount)
    : camCount_(std::max(camCount, 0)), degrees_(std::size_t(camCount_) * CamProgram::Degrees, 0),
      names_(std::size_t(camCount_)) {}

uint8_t* FormatScratch::CamDegrees(int cam) {
    return degrees_.data() + std::size_t(cam - 1) * CamProgram::Degrees;
}

const uint8_t* FormatScratch::CamDegrees(int cam) const {
    return degrees_.data() + std::size_t(cam - 1) * CamProgram::Degrees;
}

bool FormatScratch::ApplyTo(CamProgram& program, int format) const {
    if (program.CamCount() != camCount_ || !program.IsValidFormat(format))
        return false;
    for (int cam = 1; cam <= camCount_; ++cam) {
        std::copy_n(CamDegrees(cam), CamProgram::Degrees, program.CamDegrees(format, cam));
        if (names_[cam - 1])
            program.SetCamName(cam, *names_[cam - 1]);
    }
    return true;
}

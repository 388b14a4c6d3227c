#include "model/CamProgram.h"

#include <algorithm>
#include <cstring>

namespace {
constexpr int kCamCounts[] = {8, 16, 24};
constexpr int kSmallFormats[] = {21, 10, 6};
constexpr int kLargeFormats[] = {89, 44, 28};

int camCountIndex(int camCount) {
    for (int i = 0; i < 3; ++i) {
        if (kCamCounts[i] == camCount)
            return i;
    }
    return -1;
}
} // namespace

CamProgram::CamProgram() {
    camState_.assign(std::size_t(formatCount_) * camCount_ * Degrees, 0);
    camNames_ = QStringList(QList<QString>(camCount_));
    Parameters.CamAdvance.assign(camCount_, 0);
}

bool CamProgram::IsValidPair(int camCount, int formatCount) {
    const int i = camCountIndex(camCount);
    return i >= 0 && (formatCount == kSmallFormats[i] || formatCount == kLargeFormats[i]);
}

int CamProgram::SmallFormatCount(int camCount) {
    const int i = camCountIndex(camCount);
    return i < 0 ? 0 : kSmallFormats[i];
}

int CamProgram::LargeFormatCount(int camCount) {
    const int i = camCountIndex(camCount);
    return i < 0 ? 0 : kLargeFormats[i];
}

bool CamProgram::Reconfigure(int camCount, int formatCount, bool keepAdvance) {
    if (!IsValidPair(camCount, formatCount))
        return false;
    camCount_ = camCount;
    formatCount_ = formatCount;
    camState_.assign(std::size_t(formatCount_) * camCount_ * Degrees, 0);

    std::vector<uint8_t> advance(camCount_, 0);
    if (keepAdvance) {
        const std::size_t kept = std::min(advance.size(), Parameters.CamAdvance.size());
        std::copy_n(Parameters.CamAdvance.begin(), kept, advance.begin());
    }
    Parameters.CamAdvance = std::move(advance);

    while (camNames_.size() < camCount_)
        camNames_.append(QString());
    while (camNames_.size() > camCount_)
        camNames_.removeLast();

    CurrentFormat = std::clamp(CurrentFormat, 1, formatCount_);
    CurrentCam = std::clamp(CurrentCam, 1, camCount_);
    return true;
}

std::size_t CamProgram::offset(int format, int cam) const {
    Q_ASSERT(IsValidFormat(format) && IsValidCam(cam));
    return (std::size_t(format - 1) * camCount_ + std::size_t(cam - 1)) * Degrees;
}

uint8_t CamProgram::ReadDegree(int format, int cam, int degree) const {
    Q_ASSERT(degree >= 0 && degree < Degrees);
    return camState_[offset(format, cam) + degree];
}

void CamProgram::WriteDegree(int format, int cam, int degree, uint8_t value) {
    Q_ASSERT(degree >= 0 && degree < Degrees);
    camState_[offset(format, cam) + degree] = value ? 1 : 0;
}

uint8_t* CamProgram::CamDegrees(int format, int cam) {
    return camState_.data() + offset(format, cam);
}

const uint8_t* CamProgram::CamDegrees(int format, int cam) const {
    return camState_.data() + offset(format, cam);
}

void CamProgram::ClearFormat(int format) {
    if (!IsValidFormat(format))
        return;
    std::memset(CamDegrees(format, 1), 0, std::size_t(camCount_) * Degrees);
}

void CamProgram::ClearAllFormats() {
    for (int f = 1; f <= formatCount_; ++f)
        ClearFormat(f);
}

void CamProgram::SetPhase(int format, int cam, int on, int off) {
    SetPhaseOn(CamDegrees(format, cam), on, off);
}

std::vector<Phase> CamProgram::ListPhases(int format, int cam) const {
    return ListPhasesOf(CamDegrees(format, cam));
}

void CamProgram::ResetToNew() {
    Parameters.AdvanceCount = 0;
    std::fill(Parameters.CamAdvance.begin(), Parameters.CamAdvance.end(), 0);
    Parameters.OutputFormat = 0;
    Parameters.EncoderShift = 0;
    Parameters.RotationSense = 0;
    Parameters.SpeedLimit = 0;
    CurrentFormat = 1;
    CurrentCam = 1;
    for (QString& name : camNames_)
        name.clear();
    ClearAllFormats();
    CurrentFileName.clear();
    ProgramSaved = true;
}

QString CamProgram::CamName(int cam) const {
    return IsValidCam(cam) ? camNames_.at(cam - 1) : QString();
}

void CamProgram::SetCamName(int cam, const QString& name) {
    if (IsValidCam(cam))
        camNames_[cam - 1] = name.left(MaxNameLength);
}

void SetPhaseOn(uint8_t* d, int on, int off) {
    on = std::clamp(on, 0, CamProgram::Degrees - 1);
    off = std::clamp(off, 0, CamProgram::Degrees - 1);
    // Trimming walks never wrap: upwards they stop after 359, downwards after 0.
    auto clearUpFrom = [d](int k) {
        for (; k < CamProgram::Degrees && d[k]; ++k)
            d[k] = 0;
    };
    auto clearDownFrom = [d](int k) {
        for (; k >= 0 && d[k]; --k)
            d[k] = 0;
    };
    if (on < off) {
        std::fill(d + on, d + off, uint8_t(1));
        clearUpFrom(off);
        clearDownFrom(on - 1);
    } else if (on > off) {
        std::fill(d + on, d + CamProgram::Degrees, uint8_t(1));
        std::fill(d, d + off, uint8_t(1));
        clearUpFrom(off);
        clearDownFrom(on - 1);
    } else {
        clearUpFrom(on);
        clearDownFrom(on - 1);
    }
}

std::vector<Phase> ListPhasesOf(const uint8_t* d) {
    std::vector<Phase> phases;
    const int last = CamProgram::Degrees - 1;
    int start = 0;
    if (d[last]) {
        start = CamProgram::Degrees;
        for (int k = 0; k < CamProgram::Degrees; ++k) {
            if (!d[k]) {
                start = k;
                break;
            }
        }
    }
    bool lookingForOff = false;
    int on = 0;
    for (int k = start; k < CamProgram::Degrees; ++k) {
        if (!lookingForOff && d[k]) {
            on = k;
            lookingForOff = true;
        } else if (lookingForOff && !d[k]) {
            phases.push_back({on, k});
            lookingForOff = false;
        }
    }
    if (d[last] && lookingForOff)
        phases.push_back({on, start});
    return phases;
}

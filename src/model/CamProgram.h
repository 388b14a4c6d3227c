#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <cstdint>
#include <vector>

// One phase of a cam: the run of ON degrees On..Off-1, read around the circle.
// A phase that runs past 359 has Off < On; Off = 0 means the run ends with degree 359.
struct Phase {
    int On = 0;
    int Off = 0;
    bool operator==(const Phase& o) const { return On == o.On && Off == o.Off; }
};

// The program-wide function parameters (one set for the whole program, not per format).
struct FunctionParameters {
    int16_t AdvanceCount = 0;        // 0, CamCount, CamCount/2 or CamCount/4
    std::vector<uint8_t> CamAdvance; // CamCount entries; entry k-1 is cam or group k
    int16_t OutputFormat = 0;
    int16_t EncoderShift = 0;
    int16_t RotationSense = 0;
    int16_t SpeedLimit = 0;
};

// The one cam program being edited: CamCount cams in each of FormatCount formats, each cam
// an ON/OFF state for every whole degree 0..359. Formats and cams are numbered from 1.
class CamProgram {
public:
    static constexpr int Degrees = 360;
    static constexpr int MaxPhases = 180;
    static constexpr int MaxNameLength = 14;

    CamProgram();

    // Only six controller types exist: 8 cams with 21 or 89 formats, 16 with 10 or 44,
    // 24 with 6 or 28. Nothing else may ever size the program.
    static bool IsValidPair(int camCount, int formatCount);
    static int SmallFormatCount(int camCount); // 0 for a cam count that is not 8, 16 or 24
    static int LargeFormatCount(int camCount);

    int CamCount() const { return camCount_; }
    int FormatCount() const { return formatCount_; }

    // Sets a new pair and creates the degree array again, every degree off. The advance
    // values keep their first min(old, new) entries when keepAdvance is set (a file read),
    // and are all cleared otherwise (a programmer-type change). Returns false, changing
    // nothing, for a pair that is not one of the six.
    bool Reconfigure(int camCount, int formatCount, bool keepAdvance);

    bool IsValidFormat(int format) const { return format >= 1 && format <= formatCount_; }
    bool IsValidCam(int cam) const { return cam >= 1 && cam <= camCount_; }

    // Direct access to the degree states; callers keep the indexes in range.
    uint8_t ReadDegree(int format, int cam, int degree) const;
    void WriteDegree(int format, int cam, int degree, uint8_t value);
    // The 360 states of one cam, for operations that work on a whole cam.
    uint8_t* CamDegrees(int format, int cam);
    const uint8_t* CamDegrees(int format, int cam) const;

    void ClearFormat(int format);
    void ClearAllFormats();

    // Enters the phase on..off-1 into one cam and trims the ON runs it touches;
    // on == off deletes the run containing degree on (or ending just before it).
    void SetPhase(int format, int cam, int on, int off);
    std::vector<Phase> ListPhases(int format, int cam) const;

    void ResetToNew();
    void MarkChanged() { ProgramSaved = false; }
    void MarkSaved() {
        ProgramSaved = true;
        ++saves_;
    }
    // How many times the program was saved: the edit history finds its saved state by it.
    int Saves() const { return saves_; }

    // Name of cam 1..CamCount, held exactly as given (blanks included, as a cam file has it)
    // and cut to MaxNameLength characters; only the name entry field trims what is typed.
    QString CamName(int cam) const;
    void SetCamName(int cam, const QString& name);
    const QStringList& CamNames() const { return camNames_; }

    int CurrentFormat = 1;
    int CurrentCam = 1;
    FunctionParameters Parameters;
    bool ProgramSaved = true;
    QString CurrentFileName;

private:
    std::size_t offset(int format, int cam) const;

    int saves_ = 0;
    int camCount_ = 24;
    int formatCount_ = 6;
    std::vector<uint8_t> camState_;
    QStringList camNames_;
};

// Standard phase-list rule applied to 360 raw degree states (shared by the model,
// the editor's drag preview and anything else holding a loose cam).
std::vector<Phase> ListPhasesOf(const uint8_t* degrees);
// SetPhase on 360 raw degree states.
void SetPhaseOn(uint8_t* degrees, int on, int off);

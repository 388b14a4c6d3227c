// The edit history's memory: fifty Import Size steps on the largest format (24 cams with their
// names), each replacing every cam and name of the format, must stay within the bound the
// history promises and all remain undoable.
#include "BenchPrograms.h"
#include "model/EditSession.h"
#include "model/FormatScratch.h"

#include <QElapsedTimer>

#include <cstdio>

int main() {
    CamProgram program = BenchPrograms::FullProgram(24, 28);
    EditSession edit(program);
    constexpr int Steps = 50;
    QElapsedTimer timer;
    timer.start();
    for (int k = 1; k <= Steps; ++k) {
        // Each import brings a different format: every cam and every name changes.
        FormatScratch scratch(program.CamCount());
        for (int cam = 1; cam <= scratch.CamCount(); ++cam) {
            SetPhaseOn(scratch.CamDegrees(cam), (k * 5 + cam) % 360, (k * 5 + cam + 120) % 360);
            scratch.SetName(cam, QStringLiteral("IMPORT%1-%2").arg(k).arg(cam));
        }
        edit.beginChange();
        scratch.ApplyTo(program, 1);
        program.MarkChanged();
        edit.endChange({StepLabel::Kind::ImportSize, 1, 1, 0, 0});
    }
    const double recordMs = double(timer.nsecsElapsed()) / 1e6;
    const std::size_t used = edit.memoryUse();
    int undoable = 0;
    timer.restart();
    while (edit.undo())
        ++undoable;
    const double undoMs = double(timer.nsecsElapsed()) / 1e6;
    std::printf("history of %d Import Size steps on C24-28: %zu bytes (%.1f KiB), bound %zu bytes "
                "(%.0f KiB), %d undoable\n",
                Steps, used, double(used) / 1024, EditSession::MaxBytes,
                double(EditSession::MaxBytes) / 1024, undoable);
    std::printf("recording %.2f ms per step, undoing %.2f ms per step\n", recordMs / Steps,
                undoMs / Steps);
    return used <= EditSession::MaxBytes && undoable == Steps ? 0 : 1;
}

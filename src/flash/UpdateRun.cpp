#include "flash/UpdateRun.h"

#include "dialogs/Prompts.h"
#include "flash/FlashUpdate.h"
#include "shell/Session.h"

#include <QFileInfo>

namespace {
// The busy pointer for as long as the run holds the window.
struct BusyPointer {
    explicit BusyPointer(Prompts& prompts) : prompts(prompts) { prompts.setBusy(true); }
    ~BusyPointer() { prompts.setBusy(false); }
    Prompts& prompts;
};
} // namespace

UpdateRun::UpdateRun(Session& session, ProgressObserver& observer, QString hexFilePath)
    : session_(session), observer_(observer), path_(std::move(hexFilePath)) {}

bool UpdateRun::Run() {
    session_.prompts.processEvents();
    observer_.workingFile(path_, QFileInfo(path_).size());
    observer_.phaseBegun(ProgressObserver::Phase::Checking);
    BusyPointer busy(session_.prompts);
    const ImageCheckResult check = CheckImage(path_, [this](qint64 line, qint64 bytes) {
        ProgressObserver::Counters counters;
        counters.line = line;
        counters.bytes = bytes;
        observer_.counted(counters);
    });
    if (!check.passed()) {
        observer_.refused(check.refusal());
        return false;
    }
    if (!check.tag.isEmpty())
        observer_.firmwareTag(check.tag);

    FlashUpdate update(session_, observer_, path_, check.lines);
    update.setConfirmed(confirmed_);
    return update.Run();
}

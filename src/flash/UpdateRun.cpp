#include "flash/UpdateRun.h"

#include "dialogs/Prompts.h"
#include "flash/FlashUpdate.h"
#include "link/LinkContext.h"

#include <QFileInfo>

namespace {
// The busy pointer for as long as the run holds the window.
struct BusyPointer {
    explicit BusyPointer(Prompts& prompts) : prompts(prompts) { prompts.setBusy(true); }
    ~BusyPointer() { prompts.setBusy(false); }
    Prompts& prompts;
};
} // namespace

UpdateRun::UpdateRun(const LinkContext& context, ProgressObserver& observer, QString hexFilePath)
    : context_(context), observer_(observer), path_(std::move(hexFilePath)) {}

bool UpdateRun::Run() {
    context_.prompts.processEvents();
    observer_.workingFile(path_, QFileInfo(path_).size());
    observer_.phaseBegun(ProgressObserver::Phase::Checking);
    BusyPointer busy(context_.prompts);
    const ImageCheckResult check = CheckImage(path_, [this](qint64 line, qint64 bytes) {
        ProgressObserver::Counters counters;
        counters.line = line;
        counters.bytes = bytes;
        observer_.counted(counters);
    });
    if (!check.passed()) {
        observer_.refused(check.refusal(context_.texts));
        return false;
    }
    if (!check.tag.isEmpty())
        observer_.firmwareTag(check.tag);

    FlashUpdate update(context_, observer_, path_, check.lines);
    update.setConfirmed(confirmed_);
    return update.Run();
}

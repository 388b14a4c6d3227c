#pragma once

#include "flash/ImageCheck.h"
#include "link/LinkContext.h"

#include <QString>

class ProgressObserver;

// One run of the firmware update: the image check and then, when it passes, the update of
// the controller's flash. Every step and the end (done or refused) go to the observer.
class UpdateRun {
public:
    UpdateRun(const LinkContext& context, ProgressObserver& observer, QString hexFilePath);

    // Answers "UPDATE FLASH ?" with Yes without asking (q517-cli --yes).
    void setConfirmed(bool confirmed) { confirmed_ = confirmed; }

    // True only after the controller acknowledged the image's last line.
    bool Run();

private:
    LinkContext context_;
    ProgressObserver& observer_;
    QString path_;
    bool confirmed_ = false;
};

#pragma once

#include "flash/ImageCheck.h"

#include <QString>

#include <functional>

struct Session;
class ProgressObserver;

// One run of the firmware update: the image check and then, when it passes, the update of
// the controller's flash. Every step and the end (done or refused) go to the observer.
class UpdateRun {
public:
    UpdateRun(Session& session, ProgressObserver& observer, QString hexFilePath);

    // Whether the port of a number exists; the machine's ports unless a test says otherwise.
    void setPortCheck(std::function<bool(int port)> check) { portCheck_ = std::move(check); }
    // Answers "UPDATE FLASH ?" with Yes without asking (q517-cli --yes).
    void setConfirmed(bool confirmed) { confirmed_ = confirmed; }

    // True only after the controller acknowledged the image's last line.
    bool Run();

private:
    Session& session_;
    ProgressObserver& observer_;
    QString path_;
    std::function<bool(int)> portCheck_;
    bool confirmed_ = false;
};

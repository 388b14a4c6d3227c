#pragma once

#include "flash/FlashView.h"
#include "flash/ImageCheck.h"

#include <QString>

#include <functional>

struct Session;

// One run of the firmware update window: the image check and then, when it passes, the
// update of the controller's flash. It runs once, when the window is first shown, and closes
// the window through the view at the end of every path but the wrong-port one.
class UpdateRun {
public:
    UpdateRun(Session& session, FlashView& view, QString hexFilePath);

    // Whether the port of a number exists; the machine's ports unless a test says otherwise.
    void setPortCheck(std::function<bool(int port)> check) { portCheck_ = std::move(check); }
    // Answers "UPDATE FLASH ?" with Yes without asking (q517-cli --yes).
    void setConfirmed(bool confirmed) { confirmed_ = confirmed; }

    void Run();

    // What the check found (lines, bytes, tag), for the callers that report it.
    const ImageCheckResult& checkResult() const { return check_; }
    // True only after the controller acknowledged the image's last line.
    bool updated() const { return updated_; }

private:
    bool RunImageCheck();
    void RunFlashUpdate();
    void Finish();

    Session& session_;
    FlashView& view_;
    QString path_;
    ImageCheckResult check_;
    bool updated_ = false;
    bool busy_ = false;
    std::function<bool(int)> portCheck_;
    bool confirmed_ = false;
};

#include "flash/UpdateRun.h"

#include "dialogs/Prompts.h"
#include "flash/FirmwareTag.h"
#include "flash/FlashUpdate.h"
#include "shell/Session.h"

#include <QFileInfo>

UpdateRun::UpdateRun(Session& session, FlashView& view, QString hexFilePath)
    : session_(session), view_(view), path_(std::move(hexFilePath)) {}

void UpdateRun::Run() {
    session_.prompts.processEvents();
    if (RunImageCheck())
        RunFlashUpdate();
}

bool UpdateRun::RunImageCheck() {
    using namespace FlashLayout;
    const qint64 size = QFileInfo(path_).size();
    view_.drawText(WorkingFile.x, WorkingFile.y,
                   QStringLiteral("WORKING FILE =\"") + path_ + QStringLiteral("\" (") +
                       QString::number(size) + QStringLiteral(" bytes)"),
                   FlashView::Regular11);
    view_.drawText(TestingRow.x, TestingRow.y,
                   QStringLiteral("Testing Line:            Tot.Bytes:"), FlashView::Regular11);
    session_.prompts.setBusy(true);
    busy_ = true;

    check_ = CheckImage(path_, [this](qint64 line, qint64 bytes) {
        view_.drawText(TestedLines.x, TestedLines.y, CounterText(line), FlashView::Bold12);
        view_.drawText(TestedBytes.x, TestedBytes.y, CounterText(bytes), FlashView::Bold12);
        view_.repaint();
    });
    if (!check_.passed()) {
        if (check_.outcome == ImageCheckResult::Outcome::Unusable) {
            // Shown in the window and in a box: the window closes at once.
            view_.drawText(TagRow.x, TagRow.y, check_.failureText(), FlashView::Bold12);
            view_.repaint();
        }
        session_.prompts.inform(check_.failureText());
        Finish();
        return false;
    }
    const QString tagLine = FirmwareTag::TagLine(check_.tag);
    if (!tagLine.isEmpty())
        view_.drawText(TagRow.x, TagRow.y, tagLine, FlashView::Bold12);
    view_.repaint();
    return true;
}

void UpdateRun::RunFlashUpdate() {
    FlashUpdate update(session_, view_, path_, check_.lines);
    if (portCheck_)
        update.setPortCheck(portCheck_);
    update.setConfirmed(confirmed_);
    switch (update.Run()) {
    case FlashUpdate::Outcome::Updated:
        updated_ = true;
        Finish();
        break;
    case FlashUpdate::Outcome::Abandoned:
        Finish();
        break;
    case FlashUpdate::Outcome::WrongPort:
        // The check results stay on screen until the operator closes the window.
        session_.prompts.setBusy(false);
        busy_ = false;
        break;
    }
}

void UpdateRun::Finish() {
    if (busy_) {
        session_.prompts.setBusy(false);
        busy_ = false;
    }
    view_.closeWindow();
}

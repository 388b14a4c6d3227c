#include "editor/gui/CamCommands.h"

#include "dialogs/gui/MainActions.h"
#include "dialogs/gui/WindowHost.h"
#include "editor/CamOperations.h"
#include "model/StepName.h"
#include "shell/Session.h"

#include <QAction>

CamCommands::CamCommands(WindowHost& window)
    : QObject(&window), window_(window), undo_(window.actions().o_Undo),
      redo_(window.actions().o_Redo) {
    const MainActions& a = window.actions();
    connect(a.O_CopyC, &QAction::triggered, this, &CamCommands::copyCam);
    connect(a.O_Shc, &QAction::triggered, this, &CamCommands::shiftCam);
    connect(a.O_ClC, &QAction::triggered, this, &CamCommands::eraseCam);
    connect(a.o_MODC, &QAction::triggered, this, &CamCommands::modifyCam);
    connect(a.o_Undo, &QAction::triggered, this, &CamCommands::undo);
    connect(a.o_Redo, &QAction::triggered, this, &CamCommands::redo);
    connect(&window.session().edit, &EditSession::historyChanged, this, &CamCommands::showHistory);
    connect(&window, &WindowHost::textsChanged, this, &CamCommands::showHistory);
    showHistory();
}

void CamCommands::showHistory() {
    const EditSession& edit = window_.session().edit;
    undo_->setEnabled(edit.canUndo());
    redo_->setEnabled(edit.canRedo());
    // The entries name the step they take back or put again.
    const LanguageTexts& texts = window_.session().texts;
    auto caption = [&](const std::optional<StepLabel>& step, const QString& text,
                       const char* plain) {
        const QString named = step ? text : QString();
        return named.isEmpty() ? QString::fromLatin1(plain) : named.arg(StepName(*step, texts));
    };
    undo_->setText(caption(edit.nextUndo(), texts.Text(400), "&Undo"));
    redo_->setText(caption(edit.nextRedo(), texts.Text(401), "&Redo"));
}

void CamCommands::recorded(CamOperations::Redraw what, StepLabel::Kind kind) {
    const CamProgram& p = window_.session().program;
    window_.session().edit.endChange({kind, p.CurrentFormat, p.CurrentCam, 0, 0});
    redraw(what);
}

void CamCommands::redraw(CamOperations::Redraw what) {
    switch (what) {
    case CamOperations::Redraw::WholeFormat:
        window_.redrawFormat();
        break;
    case CamOperations::Redraw::CurrentCamRow:
        window_.drawCamRow(window_.session().program.CurrentCam);
        break;
    case CamOperations::Redraw::Nothing:
        break;
    }
}

void CamCommands::copyCam() {
    Session& session = window_.session();
    session.edit.beginChange();
    recorded(CamOperations::CopyCam(session.program, session.prompts, session.texts),
             StepLabel::Kind::CopyCam);
}

void CamCommands::shiftCam() {
    Session& session = window_.session();
    session.edit.beginChange();
    recorded(CamOperations::ShiftCam(session.program, session.prompts, session.texts),
             StepLabel::Kind::ShiftCam);
}

void CamCommands::eraseCam() {
    Session& session = window_.session();
    session.edit.beginChange();
    recorded(CamOperations::EraseCam(session.program, session.prompts, session.texts),
             StepLabel::Kind::EraseCam);
}

void CamCommands::modifyCam() {
    window_.openCamEditor(window_.session().program.CurrentCam);
}

void CamCommands::undo() {
    // The step's size and cam are shown with it.
    if (window_.session().edit.undo())
        redraw(CamOperations::Redraw::WholeFormat);
}

void CamCommands::redo() {
    if (window_.session().edit.redo())
        redraw(CamOperations::Redraw::WholeFormat);
}

#include "editor/gui/CamCommands.h"

#include "editor/CamOperations.h"
#include "shell/Session.h"
#include "shell/gui/MainWindow.h"

#include <QAction>

CamCommands::CamCommands(MainWindow& window)
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
    showHistory();
}

void CamCommands::showHistory() {
    const EditSession& edit = window_.session().edit;
    undo_->setEnabled(edit.canUndo());
    redo_->setEnabled(edit.canRedo());
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
    redraw(CamOperations::CopyCam(session.program, session.prompts, session.texts));
}

void CamCommands::shiftCam() {
    Session& session = window_.session();
    redraw(CamOperations::ShiftCam(session.program, session.prompts, session.texts));
}

void CamCommands::eraseCam() {
    Session& session = window_.session();
    redraw(CamOperations::EraseCam(session.program, session.prompts, session.texts));
}

void CamCommands::modifyCam() {
    window_.openCamEditor(window_.session().program.CurrentCam);
}

void CamCommands::undo() {
    if (window_.session().edit.undo())
        redraw(CamOperations::Redraw::CurrentCamRow);
}

void CamCommands::redo() {
    if (window_.session().edit.redo())
        redraw(CamOperations::Redraw::CurrentCamRow);
}

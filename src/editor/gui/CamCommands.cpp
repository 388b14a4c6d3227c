#include "editor/gui/CamCommands.h"

#include "editor/CamOperations.h"
#include "shell/Session.h"
#include "shell/gui/MainWindow.h"

#include <QAction>

CamCommands::CamCommands(MainWindow& window)
    : QObject(&window), window_(window), undo_(window.actions().o_Undo) {
    const MainActions& a = window.actions();
    connect(a.O_CopyC, &QAction::triggered, this, &CamCommands::copyCam);
    connect(a.O_Shc, &QAction::triggered, this, &CamCommands::shiftCam);
    connect(a.O_ClC, &QAction::triggered, this, &CamCommands::eraseCam);
    connect(a.o_MODC, &QAction::triggered, this, &CamCommands::modifyCam);
    connect(a.o_Undo, &QAction::triggered, this, &CamCommands::undo);
    undoWasEnabled_ = undo_->isEnabled();
    connect(undo_, &QAction::changed, this, &CamCommands::undoAvailabilityChanged);
}

void CamCommands::undoAvailabilityChanged() {
    const bool enabled = undo_->isEnabled();
    if (enabled && !undoWasEnabled_) {
        const CamProgram& program = window_.session().program;
        undoFormat_ = program.CurrentFormat;
        undoCam_ = program.CurrentCam;
    }
    undoWasEnabled_ = enabled;
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
    redraw(CamOperations::CopyCam(window_.session()));
}

void CamCommands::shiftCam() {
    redraw(CamOperations::ShiftCam(window_.session()));
}

void CamCommands::eraseCam() {
    redraw(CamOperations::EraseCam(window_.session()));
}

void CamCommands::modifyCam() {
    window_.openCamEditor(window_.session().program.CurrentCam);
}

void CamCommands::undo() {
    if (!undo_->isEnabled())
        return;
    const CamProgram& program = window_.session().program;
    const bool sameCam = program.CurrentFormat == undoFormat_ && program.CurrentCam == undoCam_;
    undo_->setEnabled(false);
    if (!sameCam)
        return;
    redraw(CamOperations::UndoCam(window_.session()));
}

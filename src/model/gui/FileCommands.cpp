#include "model/gui/FileCommands.h"

#include "dialogs/CommonDialog.h"
#include "dialogs/Prompts.h"
#include "dialogs/gui/MainActions.h"
#include "dialogs/gui/WindowHost.h"
#include "model/CamFileName.h"
#include "model/CamFileReader.h"
#include "model/CamFileWriter.h"
#include "model/NumberForms.h"
#include "model/gui/CamFileChoice.h"
#include "shell/CamFileLoading.h"
#include "shell/Session.h"

#include <QAction>
#include <QDir>
#include <QFileInfo>

FileCommands::FileCommands(WindowHost& window) : QObject(&window), window_(window) {
    setObjectName(QStringLiteral("FileCommands"));
    const MainActions& a = window.actions();
    for (QAction* entry : {a.f_New, a.New_Fil})
        connect(entry, &QAction::triggered, this, &FileCommands::newProgram);
    for (QAction* entry : {a.f_Open, a.OP_FIL})
        connect(entry, &QAction::triggered, this, &FileCommands::open);
    for (QAction* entry : {a.f_Save, a.Sv_Fil})
        connect(entry, &QAction::triggered, this, &FileCommands::save);
    connect(a.f_SaveAS, &QAction::triggered, this, &FileCommands::saveAs);
    connect(&window, &WindowHost::recentFileChosen, this, &FileCommands::openRecent);
}

Session& FileCommands::session() const {
    return window_.session();
}

bool FileCommands::mayDiscard() {
    if (session().program.ProgramSaved)
        return true;
    return session().prompts.message(session().Text(112), window_.windowTitle(),
                                     Prompts::Buttons::OkCancelDefaultCancel,
                                     Prompts::Icon::Warning) == Prompts::Answer::Ok;
}

void FileCommands::startNew() {
    session().program.ResetToNew();
    session().edit.restart();
    window_.refreshTitle();
    window_.redrawFormat();
}

void FileCommands::newProgram() {
    window_.hideEditors();
    if (!mayDiscard())
        return;
    startNew();
}

void FileCommands::load(const QString& path) {
    // Cancel, a file gone or a file refused leave the program and its name as they were.
    const Outcome loaded = LoadCamFile(session(), path);
    if (!loaded.done()) {
        const QString text = loaded.text(session().texts);
        if (!text.isEmpty())
            session().prompts.message(text, QString(), Prompts::Buttons::Ok,
                                      Prompts::Icon::Warning);
        return;
    }
    window_.showTitleWithFile(session().program.CurrentFileName);
    window_.refreshRecentFiles();
    window_.redrawFormat();
}

void FileCommands::open() {
    window_.hideEditors();
    if (!mayDiscard())
        return;
    const QString chosen =
        ChooseCamFileToOpen(session(), session().Text(11), CamFileDialogFolder(session()));
    if (chosen.isEmpty() || !QFileInfo(chosen).isFile())
        return;
    load(QFileInfo(chosen).absoluteFilePath());
}

void FileCommands::openRecent(const QString& path) {
    window_.hideEditors();
    if (!mayDiscard())
        return;
    load(path);
}

void FileCommands::openNamed(const QString& path) {
    window_.hideEditors();
    // Read whole into a scratch program first: a refused file costs the operator nothing,
    // not even the question about unsaved work.
    CamProgram scratch;
    const CamReadResult result = ReadCamFile(scratch, path);
    if (!result.ok()) {
        QString why = CamReadMessage(session(), result, path);
        if (result.status == CamReadResult::Status::Missing)
            why = session().Text(480);
        else if (result.status == CamReadResult::Status::Unreadable)
            why = CamReadReason(result.error, session().texts);
        session().prompts.message(session().Text(481) + path + QLatin1Char('\n') + why, QString(),
                                  Prompts::Buttons::Ok, Prompts::Icon::Warning);
        return;
    }
    if (!mayDiscard())
        return;
    load(path);
}

bool FileCommands::writeProgram(const QString& path, const QString& title) {
    FileWriteError error;
    if (WriteCamFile(session().program, path, session().link.isOpen(), &error))
        return true;
    session().prompts.message(session().Text(330) + NumberForms::Standard(error.Number) +
                                  QLatin1Char('\n') + FileWriteErrorText(error, session().texts),
                              title, Prompts::Buttons::Ok, Prompts::Icon::Critical);
    return false;
}

void FileCommands::save() {
    CamProgram& program = session().program;
    if (!program.CurrentFileName.isEmpty()) {
        if (writeProgram(program.CurrentFileName, window_.windowTitle())) {
            program.MarkSaved();
            window_.refreshStatus();
        }
        return;
    }
    const auto answer = session().prompts.message(
        session().Text(32), session().Text(12), Prompts::Buttons::OkCancel, Prompts::Icon::Warning);
    if (answer == Prompts::Answer::Ok)
        saveAs();
}

void FileCommands::saveAs() {
    CamProgram& program = session().program;
    CommonDialog& dialog = session().dialog;
    const QString title = session().Text(109);
    dialog.DialogTitle = title;
    dialog.Filter = CamFileFilter(session());
    dialog.Flags = 0;
    dialog.FileName = program.CurrentFileName;
    dialog.InitDir = CamFileDialogFolder(session());
    dialog.CancelError = true;
    const QString before = QDir::currentPath();
    try {
        dialog.ShowSave();
    } catch (const CommonDialogCancel&) {
        QDir::setCurrent(before);
        dialog.CancelError = false;
        // A plain cancel ends Save As quietly; a dialog that failed says so.
        if (dialog.ExtendedError() != 0)
            session().prompts.message(session().Text(330) +
                                          NumberForms::Standard(dialog.ExtendedError()),
                                      title, Prompts::Buttons::Ok, Prompts::Icon::Critical);
        return;
    }
    dialog.CancelError = false;
    QDir::setCurrent(before);

    QString name = CamFileNameFor(dialog.FileName);
    if (name.isEmpty()) {
        session().prompts.message(session().Text(111), title, Prompts::Buttons::Ok,
                                  Prompts::Icon::Warning);
        return;
    }
    name = QFileInfo(name).absoluteFilePath();
    if (QFileInfo::exists(name)) {
        const auto answer =
            session().prompts.message(session().Text(108) + name, title,
                                      Prompts::Buttons::YesNoCancel, Prompts::Icon::Warning);
        if (answer != Prompts::Answer::Yes)
            return;
    }
    // The name becomes the program's only once the file is really there.
    if (!writeProgram(name, title))
        return;
    program.CurrentFileName = name;
    program.MarkSaved();
    session().options.AddRecentFile(name);
    window_.refreshRecentFiles();
    window_.showTitleWithFile(name);
}

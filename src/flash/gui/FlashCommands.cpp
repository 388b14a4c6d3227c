#include "flash/gui/FlashCommands.h"

#include "dialogs/gui/MainActions.h"
#include "dialogs/gui/WindowHost.h"
#include "flash/gui/UpdateFlashWindow.h"
#include "shell/Session.h"

#include <QAction>
#include <QFileInfo>

FlashCommands::FlashCommands(WindowHost& window) : QObject(&window), window_(window) {
    setObjectName(QStringLiteral("FlashCommands"));
    connect(window.actions().Upd_Flash, &QAction::triggered, this, &FlashCommands::updateFlash);
}

void FlashCommands::updateFlash() {
    Session& session = window_.session();
    if (!HexFileChoice::ChooseHexFile(session.dialog, session.prompts, session.texts, memory_))
        return;
    UpdateFlashWindow update(window_.session(), memory_.HexFilePath, window_.window());
    update.exec();
    if (update.updated())
        window_.showResult(session.Text(663).arg(QFileInfo(memory_.HexFilePath).fileName()));
    window_.redrawFormat();
}

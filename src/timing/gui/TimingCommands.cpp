#include "timing/gui/TimingCommands.h"

#include "dialogs/gui/MainActions.h"
#include "dialogs/gui/WindowHost.h"
#include "shell/Session.h"
#include "timing/gui/TimingWindow.h"

#include <QAction>

TimingCommands::TimingCommands(WindowHost& window) : QObject(&window), window_(window) {
    setObjectName(QStringLiteral("TimingCommands"));
    connect(window.actions().Fu_Timing, &QAction::triggered, this, &TimingCommands::openTiming);
}

void TimingCommands::openTiming() {
    window_.hideEditors();
    if (!timing_) {
        Session& session = window_.session();
        timing_ =
            new TimingWindow(session.program, session.settings, session.texts, window_.window());
        timing_->setAttribute(Qt::WA_DeleteOnClose);
        connect(timing_, &TimingWindow::goToCam, this, &TimingCommands::goToCam);
    }
    timing_->refresh();
    timing_->show();
    timing_->raise();
    timing_->activateWindow();
}

void TimingCommands::goToCam(int format, int cam) {
    window_.showCam(format, cam);
}

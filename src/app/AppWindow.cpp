#include "app/AppWindow.h"

#include "compare/gui/CompareCommands.h"
#include "editor/gui/CamCommands.h"
#include "editor/gui/CamEditor.h"
#include "flash/gui/FlashCommands.h"
#include "functions/gui/FunctionCommands.h"
#include "link/gui/LinkCommands.h"
#include "link/gui/TransferCommands.h"
#include "model/gui/FileCommands.h"
#include "model/gui/FormatCommands.h"
#include "print/gui/PrintCommands.h"
#include "timing/gui/TimingCommands.h"

AppWindow::AppWindow(Session& session, QWidget* parent) : MainWindow(session, parent) {
    WindowHost& host = this->host();
    new CamEditor(host);
    new FileCommands(host);
    new PrintCommands(host);
    new FormatCommands(host);
    new CamCommands(host);
    new FunctionCommands(host);
    new LinkCommands(host);
    new TransferCommands(host);
    new FlashCommands(host);
    new CompareCommands(host);
    new TimingCommands(host);
    // Every part takes its captions from the script the session holds now.
    applyTexts();
}

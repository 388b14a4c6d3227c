// ShowFormat of a full format (24 cams of 180 phases each, the most a cam can hold),
// rendered offscreen with every caption, the phase list and the stepper: the operator sees
// this on every step through cams and formats.
#include "dialogs/CommonDialog.h"
#include "dialogs/gui/QtCommonDialogBackend.h"
#include "dialogs/gui/QtPrompts.h"
#include "editor/gui/CamEditor.h"
#include "link/Clock.h"
#include "link/QtSerialLine.h"
#include "shell/Session.h"
#include "shell/gui/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QImage>

#include <algorithm>
#include <cstdio>
#include <vector>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QtPrompts prompts;
    SystemClock clock;
    QtCommonDialogBackend backend;
    CommonDialog dialog(backend);
    QtSerialLine line;
    Session session(prompts, clock, dialog, line, QDir::tempPath());

    CamProgram& program = session.program;
    for (int cam = 1; cam <= program.CamCount(); ++cam)
        for (int d = cam % 2; d < CamProgram::Degrees; d += 2)
            program.WriteDegree(1, cam, d, 1);
    program.CurrentCam = 5;

    // The editor as the operator has it: installed in the main window.
    MainWindow window(session);
    CamEditor& editor = *static_cast<CamEditor*>(window.centralWidget());
    editor.resize(editor.minimumSize());
    QImage image(editor.size(), QImage::Format_ARGB32_Premultiplied);

    // Every redraw shows another current cam (odd and even cams differ in every phase), as
    // when the operator steps through the cams.
    auto measure = [&](bool withControls) {
        std::vector<double> runs;
        for (int i = 0; i < 201; ++i) {
            program.CurrentCam = 5 + i % 2;
            QElapsedTimer timer;
            timer.start();
            editor.ShowFormat();
            if (withControls)
                editor.render(&image);
            else
                editor.render(&image, QPoint(), QRegion(), QWidget::DrawWindowBackground);
            runs.push_back(timer.nsecsElapsed() / 1e6);
        }
        std::sort(runs.begin(), runs.end());
        return std::make_pair(runs[runs.size() / 2], runs.front());
    };
    const auto bars = measure(false);
    const auto full = measure(true);
    std::printf("BENCH ShowFormat + diagram paint, 24 cams x 180 phases (median / best of 201) | "
                "%.2f / %.2f ms | < 2 ms\n",
                bars.first, bars.second);
    std::printf("BENCH ShowFormat + whole editor render incl. captions, list, stepper (median / "
                "best of 201) | %.2f / %.2f ms | < 2 ms\n",
                full.first, full.second);
    return 0;
}

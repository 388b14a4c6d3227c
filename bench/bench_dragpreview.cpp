// Redraw during a drag on the diagram: the pointer moves one degree, the row under it is
// painted again with the preview of what the release would enter. The cam holds 180 phases,
// the most a cam can hold, so every degree is next to a phase edge and the press grips one.
#include "dialogs/CommonDialog.h"
#include "dialogs/gui/QtCommonDialogBackend.h"
#include "dialogs/gui/QtPrompts.h"
#include "editor/DiagramGeometry.h"
#include "editor/gui/CamEditor.h"
#include "link/Clock.h"
#include "link/QtSerialLine.h"
#include "shell/Session.h"
#include "shell/gui/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFrame>
#include <QImage>
#include <QLabel>
#include <QMouseEvent>

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

    constexpr int Row = 5;
    CamProgram& program = session.program;
    for (int d = 0; d < CamProgram::Degrees; d += 2)
        program.WriteDegree(1, Row, d, 1);
    program.CurrentCam = Row;

    // The editor as the operator has it: installed in the main window.
    MainWindow window(session);
    CamEditor& editor = *static_cast<CamEditor*>(window.centralWidget());
    editor.resize(editor.minimumSize());
    editor.ShowFormat();
    QImage image(editor.size(), QImage::Format_ARGB32_Premultiplied);

    auto* bar = editor.findChild<QFrame*>(QStringLiteral("BARRA(%1)").arg(Row));
    auto* label = editor.findChild<QLabel*>(QStringLiteral("Label1(%1)").arg(Row));
    const QRect row = bar->geometry();
    const double scale = DiagramGeometry::DegreeScale(row.width(), 1);
    auto send = [&](QEvent::Type type, int degree, Qt::MouseButtons buttons) {
        const QPoint at(DiagramGeometry::DegreeToX(row.x(), scale, degree), row.center().y());
        const QPoint local = label->mapFrom(&editor, at);
        QMouseEvent event(type, local, editor.mapToGlobal(at), Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QCoreApplication::sendEvent(label, &event);
    };

    // The OFF edge of phase 200..201 is gripped and the pointer goes to and fro between 201
    // and 209: at 209 the preview is drawn (the neighbour at 202 holds the edge back, as
    // every edge of a cam this full is held), at 201 the row is drawn as it stands.
    send(QEvent::MouseButtonPress, 201, Qt::LeftButton);
    std::vector<double> runs;
    for (int i = 0; i < 401; ++i) {
        QElapsedTimer timer;
        timer.start();
        send(QEvent::MouseMove, i % 2 ? 209 : 201, Qt::LeftButton);
        editor.render(&image, row.topLeft(), QRegion(row));
        runs.push_back(timer.nsecsElapsed() / 1e6);
    }
    // The figure counts only if the preview was drawn: its red frame is on the row.
    send(QEvent::MouseMove, 209, Qt::LeftButton);
    editor.render(&image);
    const QPoint frame(DiagramGeometry::DegreeToX(row.x(), scale, 200), row.top() + 1);
    if (image.pixelColor(frame) != QColor(255, 0, 0)) {
        std::printf("BENCH drag on a bar: no preview was drawn\n");
        return 1;
    }
    send(QEvent::MouseButtonRelease, 201, Qt::NoButton);
    std::sort(runs.begin(), runs.end());
    std::printf("BENCH drag on a bar: one row and its preview redrawn, 180 phases (median / "
                "best of 401) | %.3f / %.3f ms | < 1 ms\n",
                runs[runs.size() / 2], runs.front());
    return 0;
}

#include "shell/gui/AboutWindow.h"

#include "dialogs/gui/WindowGeometry.h"
#include "model/LanguageTexts.h"

#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
// A cam disc on its shaft, drawn rather than shipped so the window needs no image file.
QPixmap camPicture() {
    QPixmap pixmap(160, 160);
    pixmap.fill(Qt::white);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Qt::darkBlue, 3));
    painter.setBrush(QColor(255, 255, 0));
    QPainterPath cam;
    cam.moveTo(80, 20);
    cam.cubicTo(140, 30, 140, 130, 80, 140);
    cam.cubicTo(30, 130, 25, 40, 80, 20);
    painter.drawPath(cam);
    painter.setBrush(Qt::darkBlue);
    painter.drawEllipse(QPointF(80, 85), 10, 10);
    return pixmap;
}
} // namespace

AboutWindow::AboutWindow(const LanguageTexts& texts, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("INTESTA"));
    setWindowTitle(texts.Text(211));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    auto* picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("Image1"));
    picture->setPixmap(camPicture());
    picture->setAlignment(Qt::AlignCenter);
    layout->addWidget(picture);
    auto* version = new QLabel(texts.Text(212), this);
    version->setObjectName(QStringLiteral("Label1"));
    version->setAlignment(Qt::AlignCenter);
    layout->addWidget(version);
    auto* ok = new QPushButton(texts.Text(213), this);
    ok->setObjectName(QStringLiteral("T_OK"));
    ok->setVisible(false);
    ok->setDefault(true);
    layout->addWidget(ok);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void AboutWindow::showEvent(QShowEvent* event) {
    findChild<QPushButton*>(QStringLiteral("T_OK"))->setVisible(true);
    WindowGeometry::KeepTitleWhole(this);
    adjustSize();
    WindowGeometry::CenterWindow(this);
    QDialog::showEvent(event);
}

#include "shell/gui/MainStatusBar.h"

#include <QFileInfo>
#include <QLabel>

MainStatusBar::MainStatusBar(QWidget* parent) : QStatusBar(parent) {
    setObjectName(QStringLiteral("StatusBar"));
    // The size grip would cover the readouts of a maximized window.
    setSizeGripEnabled(false);
    port_ = addPart("StPort", 0);
    controller_ = addPart("StController", 0);
    file_ = addPart("StFile", 0);
    result_ = addPart("StResult", 1);
    // A long result ("PDF written: /a/deep/path...") is cut at the bar's end, its whole text in
    // the tooltip; it must not widen the main window and push the editor's rows off screen.
    result_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

QLabel* MainStatusBar::addPart(const char* name, int stretch) {
    auto* part = new QLabel(this);
    part->setObjectName(QString::fromLatin1(name));
    part->setTextFormat(Qt::PlainText);
    addWidget(part, stretch);
    return part;
}

void MainStatusBar::showPort(const QString& text) {
    port_->setText(text);
}

void MainStatusBar::showController(const QString& text) {
    controller_->setText(text);
}

void MainStatusBar::showFile(const QString& path, bool saved, const QString& noFile) {
    const QString name = path.isEmpty() ? noFile : QFileInfo(path).fileName();
    file_->setText(saved ? name : name + QStringLiteral(" *"));
    file_->setToolTip(path);
}

void MainStatusBar::showResult(const QString& text) {
    result_->setText(text);
    result_->setToolTip(text);
}

void MainStatusBar::addReadout(QWidget* readout) {
    addPermanentWidget(readout);
}

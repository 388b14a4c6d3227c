#pragma once

#include <QDialog>

// INTESTA: the about window with the program's picture and version.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
};

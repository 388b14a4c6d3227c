#pragma once

#include <QDialog>

class LanguageTexts;

// INTESTA: the about window with the program's picture and version.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(const LanguageTexts& texts, QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
};

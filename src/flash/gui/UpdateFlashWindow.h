#pragma once

#include "flash/FlashView.h"

#include <QDialog>

struct Session;
class FlashTextArea;
class QFrame;
class ProgressBarWidget;

// UpdFlsh, "Update Q5-17": checks the chosen image and writes it into the controller's
// flash as soon as it is shown, then closes itself (except after a wrong port, where it
// stays open with the check results until the operator closes it).
class UpdateFlashWindow : public QDialog, public FlashView {
    Q_OBJECT
public:
    UpdateFlashWindow(Session& session, QString hexFilePath, QWidget* parent = nullptr);
    ~UpdateFlashWindow() override;

    void drawText(int x, int y, const QString& text, const Style& style) override;
    void showLed(uint32_t rgb) override;
    void drawProgress(int percent) override;
    void repaint() override;
    void closeWindow() override;

    FlashTextArea* textArea() const { return textArea_; }
    // True once the run finished with the controller's last acknowledgement.
    bool updated() const { return updated_; }

    // Escape and the close button do nothing while the line is in use.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void runOnce();

    Session& session_;
    QString path_;
    FlashTextArea* textArea_;
    QFrame* ledConn_;
    ProgressBarWidget* barra_;
    int percent_ = 0;
    bool started_ = false;
    bool running_ = false;
    bool closeRequested_ = false;
    bool updated_ = false;
};

#pragma once

#include "link/ProgressObserver.h"

#include <QDialog>

struct Session;
class FlashTextArea;
class QFrame;
class QPushButton;
class ProgressBarWidget;

// UpdFlsh, "Update Q5-17": checks the chosen image and writes it into the controller's
// flash as soon as it is shown, drawing each report of the run in its rows. A completed
// update stays on screen a few seconds; a refusal stays until the operator presses OK.
class UpdateFlashWindow : public QDialog, public ProgressObserver {
    Q_OBJECT
public:
    UpdateFlashWindow(Session& session, QString hexFilePath, QWidget* parent = nullptr);
    ~UpdateFlashWindow() override;

    void phaseBegun(Phase phase) override;
    void counted(const Counters& counters) override;
    void done() override;
    void refused(const Refusal& refusal) override;
    void workingFile(const QString& path, qint64 size) override;
    void firmwareTag(const QByteArray& tag) override;
    void readyLine(bool ready) override;
    void erased() override;
    void waiting() override;

    FlashTextArea* textArea() const { return textArea_; }
    // True once the run finished with the controller's last acknowledgement.
    bool updated() const { return updated_; }

    // Escape and the close button do nothing while the line is in use.
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void runOnce();
    // Lets the window paint what was drawn: the run holds the event loop until it ends.
    void showNow();

    Session& session_;
    QString path_;
    FlashTextArea* textArea_;
    QFrame* ledConn_;
    ProgressBarWidget* barra_;
    QPushButton* okButton_;
    Phase phase_ = Phase::Checking;
    bool started_ = false;
    bool running_ = false;
    bool keepOpen_ = false;
    bool updated_ = false;
};

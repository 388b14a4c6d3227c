#pragma once

#include <QDialog>
#include <QList>

struct Session;
class ParameterField;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollArea;

// FUN: the modal window that edits the program-wide function parameters: the advance mode
// with one advance entry per cam or group, the output format, the encoder shift, the sense
// of rotation and the speed limit. Edits stay in the fields until the operator confirms on
// closing; only then are they written into the program.
class FunctionParametersWindow : public QDialog {
    Q_OBJECT
public:
    explicit FunctionParametersWindow(Session& session, QWidget* parent = nullptr);

    // True once anything in the window differs from the program.
    bool changed() const { return changed_; }

    // The close request of C_OK and the close box: closes at once when nothing changed,
    // otherwise asks whether to keep the changes (Cancel stays open).
    void requestClose();

    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildControls();
    void applyCaptions();
    void loadFromProgram();
    void chooseMode(int mode);
    void modeChosen(int mode);
    void fitRows();
    void fieldEntered(ParameterField* field);
    void fieldLeft(ParameterField* field);
    void reset();
    void clear();
    void storeIntoProgram();
    ParameterField* parameter(int field) const;

    Session& session_;
    int workAdvanceCount_ = 0;
    long long focusValue_ = 0;
    bool changed_ = false;

    QGroupBox* frame_ = nullptr;
    QRadioButton* modes_[4] = {};
    QList<ParameterField*> advance_;
    QList<QLabel*> advanceCaptions_;
    QList<QLabel*> camNames_;
    QScrollArea* rows_ = nullptr;
    ParameterField* parameters_[4] = {};
    QLabel* parameterCaptions_[4] = {};
    QPushButton* ok_ = nullptr;
    QPushButton* reset_ = nullptr;
    QPushButton* clear_ = nullptr;
};

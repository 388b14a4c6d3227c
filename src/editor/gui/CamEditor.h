#pragma once

#include <QString>
#include <QWidget>

#include <array>

struct Session;
class MainWindow;
class ClickableLabel;
class EntryField;
class FormatStepper;
class QAction;
class QFrame;
class QLabel;
class QListWidget;
class QListWidgetItem;

// The cam editor: the left and central part of the main window. It shows the current
// format as 24 cam rows (number, 360-degree bar, name) with the current cam highlighted and
// its phases listed in FASE, takes ON/OFF angle entries in GradiON/GradiOFF, renames cams
// in DEFINCAM and steps through cams and formats. Controls sit where the design layout puts
// them, in twips, so the main window's one-time scaling scales them; the bars are painted
// from the program on every paint request and keep no pixels of their own.
class CamEditor : public QWidget {
    Q_OBJECT
public:
    // Becomes the window's central widget, hooked to its redraw requests, menus and toolbar.
    explicit CamEditor(MainWindow& window);

    // The whole current format: captions, rows, the current cam's phase list.
    void ShowFormat();
    // One row of the current format; for the current cam also the phase list and count.
    void DrawCamRow(int cam);
    // Closes the angle fields and the cam-name field.
    void HideEditors();
    // Opens the ON/OFF fields for cam (made current first if it is not).
    void openEditor(int cam);
    // Makes cam current with every field closed and the format redrawn.
    void selectCam(int cam);
    // GoPrCam: edit the current cam.
    void editCurrentCam();
    // Moves to the previous (-1) or next (+1) format; nothing beyond the first or last.
    void stepFormat(int delta);
    // Sets every caption that comes from the language texts.
    void applyTexts();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void connectTo(MainWindow& window);
    void buildRows();
    void buildCaptions();
    void buildFields();
    void buildKeys();
    void paintRow(class QPainter& painter, int row, double degreeScale) const;
    const uint8_t* shownDegrees(int cam) const;
    QRect rowArea(int row) const;
    void fillPhaseList(const QStringList& items);

    // ON field (GradiON).
    void onOnGotFocus();
    void onOnEnterOrTab();
    void onOnLostFocus();
    // OFF field (GradiOFF).
    void onOffGotFocus();
    void onOffEnterOrTab(bool enter);
    void onOffLostFocus();
    void applyEntry();
    void selectWholeTextWhenFull(EntryField* field);
    // Phase list (FASE).
    void onPhaseClicked(QListWidgetItem* item);
    void onPhaseDoubleClicked(QListWidgetItem* item);
    void takeEntryTextsFrom(const QString& item);
    // Cam-name field (DEFINCAM).
    void renameCam(int cam);
    void onNameGotFocus();
    void onNameEnter();
    void commitName();
    void hideNameField();
    // The format caption and the stepper caption.
    void chooseFormat();

    void focusGoPrCam();
    void focusMainWindow();
    void focusField(EntryField* field);
    bool entryFieldHasFocus() const;
    void disableUndo();

    Session& session_;
    MainWindow* window_ = nullptr;
    QAction* undoAction_ = nullptr;
    QAction* selectSizeAction_ = nullptr;
    QWidget* goPrCam_ = nullptr;

    std::array<QFrame*, 24> bars_{};
    std::array<ClickableLabel*, 24> numbers_{};
    std::array<ClickableLabel*, 24> names_{};

    ClickableLabel* formatCaption_ = nullptr;  // LFORM
    QLabel* camCaption_ = nullptr;             // FrC
    QLabel* nameHeader_ = nullptr;             // Label2(5)
    ClickableLabel* stepperCaption_ = nullptr; // LbSpin
    FormatStepper* stepper_ = nullptr;         // Picture1
    QLabel* degreeCaption_ = nullptr;          // LGRAD
    QLabel* listCaption_ = nullptr;            // LGrONOF
    QLabel* phaseCount_ = nullptr;             // Tot_fasi
    QListWidget* phaseList_ = nullptr;         // FASE
    EntryField* onField_ = nullptr;            // GradiON
    EntryField* offField_ = nullptr;           // GradiOFF
    EntryField* nameField_ = nullptr;          // DEFINCAM
    QLabel* nameCaption_ = nullptr;            // LDEFINCAM

    QString editOnText_;
    QString editOffText_;
};

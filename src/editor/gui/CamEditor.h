#pragma once

#include "editor/DiagramDrag.h"
#include "editor/DiagramGeometry.h"

#include <QString>
#include <QWidget>

#include <array>
#include <optional>
#include <vector>

struct Session;
class WindowHost;
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
    explicit CamEditor(WindowHost& window);

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

signals:
    // The cam and degree under the pointer, "C 05 · 127°"; empty once it left the bars.
    void degreeReadout(const QString& text);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void connectTo(WindowHost& window);
    void buildRows();
    void buildCaptions();
    void buildFields();
    void buildKeys();
    void paintRow(class QPainter& painter, int row, double degreeScale) const;
    const uint8_t* shownDegrees(int cam) const;
    DiagramGeometry::BarBox barBox(int row) const;
    double degreeScale() const;
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
    void renameCurrentCam(const QString& name);
    void hideNameField();
    // The format caption and the stepper caption.
    void chooseFormat();

    // The mouse on the bars (CamEditorMouse.cpp): a press on a bar draws a phase, or moves
    // the phase edge it grips; the release enters it like a typed entry.
    struct BarDrag {
        int row = 0;
        int press = 0; // position along the bar, 0..360
        bool crossedEnd = false;
        bool cancelled = false;
        std::optional<DiagramDrag::Grip> grip;
        std::vector<Phase> phases; // of the cam when pressed
        std::optional<Phase> preview;
    };
    bool barMouseEvent(int row, QMouseEvent* event);
    bool startDrag(int row, const QPoint& at, bool snap);
    void dragTo(const QPoint& at, const QPoint& global, bool snap);
    void enterDrag(const BarDrag& drag);
    void cancelDrag();
    void endDrag();
    int positionAt(int row, const QPoint& at, bool snap) const;
    void showReadout(int row, int degree);
    void showPointerDegrees(const QPoint& at);
    QRect readoutColumn(int degree) const;
    void paintPreview(class QPainter& painter, const BarDrag& drag, double degreeScale) const;

    void focusGoPrCam();
    void focusMainWindow();
    void focusField(EntryField* field);
    bool entryFieldHasFocus() const;

    Session& session_;
    WindowHost* window_ = nullptr;
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

    std::optional<BarDrag> drag_;
    int readoutDegree_ = -1; // the highlighted degree column, -1 for none
    QString readoutText_;
    QLabel* pointerDegrees_ = nullptr; // beside the pointer while it draws or drags
};

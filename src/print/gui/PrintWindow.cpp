#include "print/gui/PrintWindow.h"

#include "dialogs/Prompts.h"
#include "dialogs/gui/WindowGeometry.h"
#include "model/NumberForms.h"
#include "print/PrintJob.h"
#include "print/PrintTarget.h"
#include "print/PrinterSelection.h"
#include "shell/Session.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QVBoxLayout>

namespace {
// Two digits are all NFrm holds: a character rejected past them starts the number anew.
constexpr int FieldDigits = 2;
} // namespace

PrintWindow::PrintWindow(Session& session, PrintTarget& target, QWidget* parent)
    : QDialog(parent), session_(session), target_(target) {
    setObjectName(QStringLiteral("PrnSize"));
    setModal(true);

    LFORM = new QLabel(this);
    LFORM->setObjectName(QStringLiteral("LFORM"));
    NFrm = new QLineEdit(this);
    NFrm->setObjectName(QStringLiteral("NFrm"));
    NFrm->setInputMask(QStringLiteral("00;_"));
    NFrm->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    NFrm->setFixedWidth(NFrm->fontMetrics().horizontalAdvance(QStringLiteral("0000")) + 12);
    NFrm->installEventFilter(this);
    PRINTALL = new QCheckBox(this);
    PRINTALL->setObjectName(QStringLiteral("PRINTALL"));
    Fr_MODS = new QGroupBox(this);
    Fr_MODS->setObjectName(QStringLiteral("Fr_MODS"));
    F_grh = new QRadioButton(Fr_MODS);
    F_grh->setObjectName(QStringLiteral("F_grh"));
    F_TXT = new QRadioButton(Fr_MODS);
    F_TXT->setObjectName(QStringLiteral("F_TXT"));
    F_TXT->setChecked(true);
    Command1 = new QPushButton(session_.Text(304), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    T_OK = new QPushButton(session_.Text(305), this);
    T_OK->setObjectName(QStringLiteral("T_OK"));
    T_EX = new QPushButton(session_.Text(292), this);
    T_EX->setObjectName(QStringLiteral("T_EX"));
    for (QPushButton* button : {Command1, T_OK, T_EX})
        button->setAutoDefault(false);

    auto* modes = new QVBoxLayout(Fr_MODS);
    modes->addWidget(F_grh);
    modes->addWidget(F_TXT);
    auto* number = new QHBoxLayout;
    number->addWidget(LFORM);
    number->addWidget(NFrm);
    number->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(Command1);
    buttons->addStretch();
    buttons->addWidget(T_OK);
    buttons->addWidget(T_EX);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(number);
    layout->addWidget(PRINTALL);
    layout->addWidget(Fr_MODS);
    layout->addLayout(buttons);

    setCaptions();
    NFrm->setText(NumberForms::TwoDigits(session_.program.CurrentFormat));

    connect(PRINTALL, &QCheckBox::toggled, this, [this](bool all) {
        NFrm->setVisible(!all);
        LFORM->setVisible(!all);
    });
    connect(NFrm, &QLineEdit::inputRejected, this, [this] {
        if (NFrm->cursorPosition() >= FieldDigits)
            NFrm->selectAll();
    });
    connect(T_OK, &QPushButton::clicked, this, &PrintWindow::printFormats);
    connect(Command1, &QPushButton::clicked, this, &PrintWindow::selectPrinter);
    connect(T_EX, &QPushButton::clicked, this, &QDialog::reject);
}

void PrintWindow::setCaptions() {
    setWindowTitle(session_.Text(78));
    LFORM->setText(session_.Text(76));
    PRINTALL->setText(session_.Text(77));
    Fr_MODS->setTitle(session_.Text(75));
    F_grh->setText(session_.Text(79));
    F_TXT->setText(session_.Text(80));
}

void PrintWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!centred_) {
        centred_ = true;
        WindowGeometry::CenterWindow(this);
    }
    NFrm->setFocus(Qt::OtherFocusReason);
}

int PrintWindow::typedFormat() const {
    QString digits = NFrm->text();
    digits.remove(QLatin1Char('_'));
    return int(NumberForms::LeadingNumber(digits, NumberForms::Rounding::Truncate));
}

void PrintWindow::correctFormatNumber() {
    const int typed = typedFormat();
    const int format = PrintJob::CorrectedFormat(typed, session_.program.FormatCount());
    if (format != typed || NFrm->text().isEmpty())
        NFrm->setText(QString::number(format));
    NFrm->setFocus(Qt::OtherFocusReason);
    NFrm->deselect();
}

bool PrintWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == NFrm) {
        switch (event->type()) {
        case QEvent::KeyPress: {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Tab || key == Qt::Key_Return || key == Qt::Key_Enter) {
                correctFormatNumber();
                return true;
            }
            break;
        }
        case QEvent::FocusIn:
            // After the click that gave the focus has placed the cursor.
            QTimer::singleShot(0, NFrm, [field = NFrm] {
                if (field->hasFocus())
                    field->selectAll();
            });
            break;
        case QEvent::FocusOut:
            NFrm->deselect();
            break;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void PrintWindow::selectPrinter() {
    PrinterSelection::SelectPrinter(session_.dialog, session_.prompts, session_.texts);
}

void PrintWindow::printFormats() {
    PrintJob::Request request;
    request.allFormats = PRINTALL->isChecked();
    request.graphic = F_grh->isChecked();
    if (!request.allFormats) {
        // A number typed but never confirmed with Tab or Enter is brought into range here,
        // so nothing outside the formats reaches the layout.
        request.format = PrintJob::CorrectedFormat(typedFormat(), session_.program.FormatCount());
        if (request.format != typedFormat())
            NFrm->setText(QString::number(request.format));
    }

    PrintSurface* surface = target_.beginJob();
    if (!surface)
        return;
    session_.prompts.setBusy(true);
    session_.prompts.processEvents();
    const bool printed =
        PrintJob::Print(*surface, session_.program, request, session_.texts,
                        [this](int format) { NFrm->setText(NumberForms::TwoDigits(format)); });
    session_.prompts.setBusy(false);
    if (!printed) {
        const QString cause = target_.failure();
        session_.prompts.message(session_.Text(306) +
                                     (cause.isEmpty() ? QString() : QStringLiteral(" ") + cause),
                                 windowTitle(), Prompts::Buttons::Ok, Prompts::Icon::Critical);
    }
}

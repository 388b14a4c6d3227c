#include "link/gui/ProgrammerTypeWindow.h"

#include "dialogs/Prompts.h"
#include "dialogs/gui/WindowGeometry.h"
#include "link/Identification.h"
#include "link/LineProtocol.h"
#include "link/LinkOutcome.h"
#include "model/CamProgram.h"
#include "model/NumberForms.h"
#include "shell/Session.h"

#include <QButtonGroup>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
const int kCamCounts[] = {8, 16, 24};

int camChoiceOf(int camCount) {
    for (int k = 0; k < 3; ++k) {
        if (kCamCounts[k] == camCount)
            return k;
    }
    return -1;
}
} // namespace

ProgrammerTypeWindow::ProgrammerTypeWindow(Session& session, QWidget* parent)
    : QDialog(parent), session_(session), openingCams_(session.program.CamCount()),
      openingFormats_(session.program.FormatCount()), camCount_(openingCams_),
      formatCount_(openingFormats_) {
    setObjectName(QStringLiteral("SelProg"));

    auto* cams = new QGroupBox(session_.Text(262), this);
    cams->setObjectName(QStringLiteral("Frame3D1"));
    auto* camLayout = new QVBoxLayout(cams);
    auto* camGroup = new QButtonGroup(this);
    for (int k = 0; k < 3; ++k) {
        auto* choice = new QRadioButton(cams);
        choice->setObjectName(QStringLiteral("O_Selc") + QString::number(k));
        camGroup->addButton(choice);
        camLayout->addWidget(choice);
        O_Selc.append(choice);
        connect(choice, &QRadioButton::clicked, this, [this, k] { chooseCams(k); });
    }
    auto* formats = new QGroupBox(QString(), this);
    formats->setObjectName(QStringLiteral("FrForm"));
    auto* formatLayout = new QVBoxLayout(formats);
    auto* formatGroup = new QButtonGroup(this);
    for (int k = 0; k < 2; ++k) {
        auto* choice = new QRadioButton(formats);
        choice->setObjectName(QStringLiteral("O_SELF") + QString::number(k));
        formatGroup->addButton(choice);
        formatLayout->addWidget(choice);
        O_SELF.append(choice);
        connect(choice, &QRadioButton::clicked, this, [this, k] { chooseFormats(k); });
    }
    K_AUTSEL = new QPushButton(QString(), this);
    K_AUTSEL->setObjectName(QStringLiteral("K_AUTSEL"));
    K_AUTSEL->setVisible(false);
    DefPrg = new QLabel(this);
    DefPrg->setObjectName(QStringLiteral("DefPrg"));
    DefPrg->setVisible(false);
    K_OK = new QPushButton(session_.Text(291), this);
    K_OK->setObjectName(QStringLiteral("K_OK"));
    connect(K_AUTSEL, &QPushButton::clicked, this, &ProgrammerTypeWindow::automaticSelection);
    connect(K_OK, &QPushButton::clicked, this, &QDialog::accept);

    auto* choices = new QHBoxLayout;
    choices->addWidget(cams);
    choices->addWidget(formats);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(K_AUTSEL);
    layout->addWidget(DefPrg);
    layout->addWidget(K_OK, 0, Qt::AlignRight);

    setWindowTitle(session_.Text(7));
    formats->setTitle(session_.Text(4));
    K_AUTSEL->setText(session_.Text(138));
    for (int k = 0; k < 3; ++k)
        O_Selc[k]->setText(NumberForms::TwoDigits(kCamCounts[k]) + QLatin1Char(' ') +
                           session_.Text(5));
    UpdateTypeChoices();
    WindowGeometry::KeepTitleWhole(this);
}

void ProgrammerTypeWindow::labelFormatChoices(int camCount) {
    formatValues_ = {CamProgram::SmallFormatCount(camCount),
                     CamProgram::LargeFormatCount(camCount)};
    for (int k = 0; k < 2; ++k)
        O_SELF[k]->setText(NumberForms::TwoDigits(formatValues_[k]) + QLatin1Char(' ') +
                           session_.Text(6));
}

int ProgrammerTypeWindow::checkedFormatChoice() const {
    for (int k = 0; k < 2; ++k) {
        if (O_SELF[k]->isChecked())
            return k;
    }
    return -1;
}

void ProgrammerTypeWindow::UpdateTypeChoices() {
    const int choice = camChoiceOf(camCount_);
    if (choice < 0)
        return;
    O_Selc[choice]->setChecked(true);
    labelFormatChoices(camCount_);
    O_SELF[formatCount_ == formatValues_[1] ? 1 : 0]->setChecked(true);
}

void ProgrammerTypeWindow::chooseCams(int index) {
    if (index < 0 || index > 2)
        return;
    camCount_ = kCamCounts[index];
    labelFormatChoices(camCount_);
    // The position of the format choice is kept: the smaller memory stays the smaller one.
    const int format = checkedFormatChoice();
    if (format >= 0)
        formatCount_ = formatValues_[format];
}

void ProgrammerTypeWindow::chooseFormats(int index) {
    if (index < 0 || index > 1)
        return;
    formatCount_ = formatValues_[index];
}

void ProgrammerTypeWindow::presenceTest() {
    ControllerLink& link = session_.link;
    const int baud = session_.options.BaudRate.toInt();
    const QString& device = link.state.DeviceOverride;
    // Only asks: the window never tells the operator about a port that will not open.
    const LinkOpening opening =
        device.isEmpty() ? link.open(session_.options.PortNumber, baud) : link.open(device, baud);
    // The presence test reads CTS without handshake, as the controller's own tools do.
    if (opening.opened())
        link.setHardwareFlowControl(false);
    K_AUTSEL->setVisible(opening.ready());
    link.close();
}

void ProgrammerTypeWindow::automaticSelection() {
    K_AUTSEL->setEnabled(false);
    const Identification identified = IdentifyController(session_.linkContext());
    if (identified.result == IdentifyResult::Identified) {
        camCount_ = session_.link.state.IdentCamCount;
        formatCount_ = session_.link.state.IdentFormatCount;
    } else if (identified.result != IdentifyResult::NotFound) {
        // Six replies without an identification leave the choice as it was, unsaid.
        ShowOutcome(session_.linkContext(), identified.outcome);
    }
    UpdateTypeChoices();
    const LinkState& state = session_.link.state;
    const ControllerTypeParts type = ReadControllerType(state.IdentReply, state.TypeReply);
    DefPrg->setText(session_.Text(120) + QLatin1Char(' ') + type.identification +
                    QLatin1Char('\n') + session_.Text(119) + type.model + QStringLiteral(" - ") +
                    session_.Text(118) + type.version);
    DefPrg->setVisible(true);
    K_AUTSEL->setEnabled(true);
}

void ProgrammerTypeWindow::done(int result) {
    if (camCount_ == openingCams_ && formatCount_ == openingFormats_) {
        typeChanged_ = false;
    } else if (session_.program.ProgramSaved) {
        typeChanged_ = true;
    } else {
        switch (session_.prompts.message(session_.Text(112), windowTitle(),
                                         Prompts::Buttons::YesNoCancelDefaultNo,
                                         Prompts::Icon::Question)) {
        case Prompts::Answer::Yes:
            typeChanged_ = true;
            break;
        case Prompts::Answer::No:
            typeChanged_ = false;
            camCount_ = openingCams_;
            formatCount_ = openingFormats_;
            break;
        default:
            return; // Cancel: the window stays open
        }
    }
    QDialog::done(result);
}

void ProgrammerTypeWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    presenceTest();
}

void ProgrammerTypeWindow::changeEvent(QEvent* event) {
    QDialog::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && isVisible())
        presenceTest();
}

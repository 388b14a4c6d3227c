#include "link/gui/PortWindow.h"

#include "dialogs/Prompts.h"
#include "link/PortMap.h"
#include "link/gui/PlaceWindow.h"
#include "model/NumberForms.h"
#include "shell/Session.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
// The number of a list entry: its last two characters, so "COM 7" gives 7, "COM 12" 12.
int entryPort(const QString& entry) {
    return int(NumberForms::LeadingValue(entry.right(2)));
}
} // namespace

const QStringList& PortWindow::Speeds() {
    static const QStringList speeds{QStringLiteral("2400"), QStringLiteral("9600"),
                                    QStringLiteral("19200"), QStringLiteral("38400")};
    return speeds;
}

QString PortWindow::PortSettingsText(int portNumber, const QString& baudRate) {
    return QStringLiteral("Current Settings: COM:") + QString::number(portNumber) +
           QStringLiteral(", ") + baudRate + QStringLiteral("baud, NO parity, 8 bits, 1stop");
}

PortWindow::PortWindow(Session& session, QWidget* parent, std::function<bool(int)> portExists)
    : QDialog(parent), session_(session), portExists_(std::move(portExists)) {
    if (!portExists_)
        portExists_ = [this](int n) { return EnumSerPorts(n, session_.workDir); };
    setObjectName(QStringLiteral("SelPort"));
    setWindowTitle(QStringLiteral("Select Port"));

    auto* label1 = new QLabel(QStringLiteral("PORT NR"), this);
    label1->setObjectName(QStringLiteral("Label1"));
    ComSel = new QComboBox(this);
    ComSel->setObjectName(QStringLiteral("ComSel"));
    Lwarn = new QLabel(QStringLiteral("Caution: do not select mouse port"), this);
    Lwarn->setObjectName(QStringLiteral("Lwarn"));
    Lwarn->setWordWrap(true);

    auto* frBaud = new QGroupBox(QStringLiteral("BAUD RATE"), this);
    frBaud->setObjectName(QStringLiteral("FrBAUD"));
    auto* baudLayout = new QVBoxLayout(frBaud);
    auto* group = new QButtonGroup(this);
    for (const QString& speed : Speeds()) {
        auto* choice = new QRadioButton(speed + QStringLiteral(" BAUD"), frBaud);
        choice->setObjectName(QStringLiteral("Op") + speed);
        group->addButton(choice);
        baudLayout->addWidget(choice);
        speedChoices_.append(choice);
        connect(choice, &QRadioButton::clicked, this, [this, speed] { chooseSpeed(speed); });
    }
    // The window opens showing 9600, whatever the stored speed turns out to be.
    speedChoices_.at(1)->setChecked(true);

    Panset = new QLabel(this);
    Panset->setObjectName(QStringLiteral("Panset"));
    TOK = new QPushButton(QStringLiteral("&OK"), this);
    TOK->setObjectName(QStringLiteral("TOK"));
    TCL = new QPushButton(QStringLiteral("&EXIT"), this);
    TCL->setObjectName(QStringLiteral("TCL"));
    connect(TOK, &QPushButton::clicked, this, &PortWindow::storeAndClose);
    connect(TCL, &QPushButton::clicked, this, &QDialog::reject);

    auto* portRow = new QHBoxLayout;
    portRow->addWidget(label1);
    portRow->addWidget(ComSel, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(TOK);
    buttons->addWidget(TCL);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(portRow);
    layout->addWidget(Lwarn);
    layout->addWidget(frBaud);
    layout->addWidget(Panset);
    layout->addLayout(buttons);
    adjustSize();

    PlaceWindow(this);
    Lwarn->setText(session_.Text(23));
    fillPorts();
    selectStoredChoices();
    connect(ComSel, &QComboBox::activated, this, &PortWindow::choosePortEntry);
}

void PortWindow::fillPorts() {
    for (int n = PortMap::FirstPort; n <= PortMap::LastPort; ++n) {
        if (portExists_(n))
            ComSel->addItem(QStringLiteral("COM ") + QString::number(n));
    }
    // A filled list selects nothing by itself: a port that has gone stays the program's
    // port until the operator picks another.
    ComSel->setCurrentIndex(-1);
}

void PortWindow::selectStoredChoices() {
    for (int i = 0; i < ComSel->count(); ++i) {
        if (entryPort(ComSel->itemText(i)) == session_.options.PortNumber) {
            ComSel->setCurrentIndex(i);
            choosePortEntry(i);
            break;
        }
    }
    const qsizetype speed = Speeds().indexOf(session_.options.BaudRate);
    if (speed >= 0) {
        speedChoices_.at(speed)->setChecked(true);
        chooseSpeed(Speeds().at(speed));
    }
}

void PortWindow::ShowPortSettings() {
    Panset->setText(PortSettingsText(session_.options.PortNumber, session_.options.BaudRate));
}

void PortWindow::choosePortEntry(int index) {
    if (index < 0 || index >= ComSel->count())
        return;
    const int16_t port = int16_t(entryPort(ComSel->itemText(index)));
    // A line left open on the old port would go on talking to the controller there.
    if (port != session_.options.PortNumber)
        session_.link.close();
    session_.options.PortNumber = port;
    ShowPortSettings();
}

void PortWindow::chooseSpeed(const QString& baud) {
    session_.options.BaudRate = baud;
    ShowPortSettings();
}

void PortWindow::storeAndClose() {
    QString why;
    if (!session_.options.WriteOptionsFile(session_.workDir, &why))
        session_.prompts.message(QStringLiteral("FILE ERROR\n") + why, windowTitle(),
                                 Prompts::Buttons::Ok, Prompts::Icon::Critical);
    accept();
}

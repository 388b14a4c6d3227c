#include "link/gui/PortWindow.h"

#include "dialogs/Prompts.h"
#include "link/ControllerSearch.h"
#include "link/NetworkAddress.h"
#include "link/NetworkSerialLine.h"
#include "link/PortMap.h"
#include "link/gui/PlaceWindow.h"
#include "model/LanguageTexts.h"
#include "model/NumberForms.h"
#include "shell/Session.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {
// The number of a list entry: its last two characters, so "COM 7" gives 7, "COM 12" 12.
int entryPort(const QString& entry) {
    return int(NumberForms::LeadingNumber(entry.right(2), NumberForms::Rounding::Truncate));
}
} // namespace

const QStringList& PortWindow::Speeds() {
    static const QStringList speeds{QStringLiteral("2400"), QStringLiteral("9600"),
                                    QStringLiteral("19200"), QStringLiteral("38400")};
    return speeds;
}

QString PortWindow::PortSettingsText(const LanguageTexts& texts, int portNumber,
                                     const QString& baudRate) {
    return texts.Text(283) + QString::number(portNumber) + QStringLiteral(", ") + baudRate +
           texts.Text(284);
}

PortWindow::PortWindow(Session& session, QWidget* parent, std::function<bool(int)> portExists,
                       std::function<QList<AdapterInfo>()> adapters)
    : QDialog(parent), session_(session), portExists_(std::move(portExists)),
      adapters_(std::move(adapters)) {
    if (!portExists_)
        // Every network port is listed: the list is where its address is set.
        portExists_ = [this](int n) {
            return n >= PortMap::FirstNetworkPort || EnumSerPorts(n, session_.workDir);
        };
    if (!adapters_)
        adapters_ = SystemAdapters;
    setObjectName(QStringLiteral("SelPort"));
    setWindowTitle(session_.Text(285));

    auto* label1 = new QLabel(session_.Text(286), this);
    label1->setObjectName(QStringLiteral("Label1"));
    ComSel = new QComboBox(this);
    ComSel->setObjectName(QStringLiteral("ComSel"));
    Lwarn = new QLabel(session_.Text(287), this);
    Lwarn->setObjectName(QStringLiteral("Lwarn"));
    Lwarn->setWordWrap(true);
    PortInfo = new QLabel(this);
    PortInfo->setObjectName(QStringLiteral("PortInfo"));
    PortInfo->setTextFormat(Qt::PlainText);
    PortInfo->setTextInteractionFlags(Qt::TextSelectableByMouse);
    K_FIND = new QPushButton(session_.Text(288), this);
    K_FIND->setObjectName(QStringLiteral("K_FIND"));
    K_FIND->setAutoDefault(false);
    FindBar = new QProgressBar(this);
    FindBar->setObjectName(QStringLiteral("FindBar"));
    FindBar->setFormat(session_.Text(289));
    FindBar->setVisible(false);
    FindLog = new QLabel(this);
    FindLog->setObjectName(QStringLiteral("FindLog"));
    FindLog->setTextFormat(Qt::PlainText);
    FindLog->setWordWrap(true);
    LNetPort = new QLabel(this);
    LNetPort->setObjectName(QStringLiteral("LNetPort"));
    NetPort = new QLineEdit(this);
    NetPort->setObjectName(QStringLiteral("NetPort"));
    NetPort->setPlaceholderText(QStringLiteral("rfc2217://10.0.0.20:4001"));
    K_NETTEST = new QPushButton(this);
    K_NETTEST->setObjectName(QStringLiteral("K_NETTEST"));
    K_NETTEST->setAutoDefault(false);
    NetTestLog = new QLabel(this);
    NetTestLog->setObjectName(QStringLiteral("NetTestLog"));
    NetTestLog->setTextFormat(Qt::PlainText);
    NetTestLog->setWordWrap(true);
    NetTestLog->setTextInteractionFlags(Qt::TextSelectableByMouse);

    auto* frBaud = new QGroupBox(session_.Text(290), this);
    speedFrame_ = frBaud;
    frBaud->setObjectName(QStringLiteral("FrBAUD"));
    auto* baudLayout = new QVBoxLayout(frBaud);
    auto* group = new QButtonGroup(this);
    for (const QString& speed : Speeds()) {
        auto* choice = new QRadioButton(speed + session_.Text(336), frBaud);
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
    TOK = new QPushButton(session_.Text(291), this);
    TOK->setObjectName(QStringLiteral("TOK"));
    TCL = new QPushButton(session_.Text(292), this);
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
    layout->addWidget(PortInfo);
    auto* netRow = new QHBoxLayout;
    netRow->addWidget(LNetPort);
    netRow->addWidget(NetPort, 1);
    netRow->addWidget(K_NETTEST);
    layout->addLayout(netRow);
    layout->addWidget(NetTestLog);
    auto* findRow = new QHBoxLayout;
    findRow->addWidget(K_FIND);
    findRow->addWidget(FindBar, 1);
    layout->addLayout(findRow);
    layout->addWidget(FindLog);
    layout->addWidget(Lwarn);
    layout->addWidget(frBaud);
    layout->addWidget(Panset);
    layout->addLayout(buttons);
    adjustSize();

    PlaceWindow(this);
    Lwarn->setText(session_.Text(23));
    LNetPort->setText(session_.Text(450));
    K_NETTEST->setText(session_.Text(451));
    fillPorts();
    selectStoredChoices();
    connect(ComSel, &QComboBox::activated, this, &PortWindow::choosePortEntry);
    connect(ComSel, &QComboBox::currentIndexChanged, this, &PortWindow::showPortDetails);
    connect(K_FIND, &QPushButton::clicked, this, [this] {
        if (searching_)
            stopSearch();
        else
            findController();
    });
    connect(NetPort, &QLineEdit::editingFinished, this, &PortWindow::storeNetworkAddress);
    connect(K_NETTEST, &QPushButton::clicked, this, &PortWindow::testNetworkPort);
    showPortDetails(ComSel->currentIndex());
}

int PortWindow::selectedPort() const {
    const int index = ComSel->currentIndex();
    return index < 0 ? 0 : entryPort(ComSel->itemText(index));
}

void PortWindow::showNetworkPort(int port) {
    const bool network = port >= PortMap::FirstNetworkPort;
    for (QWidget* w : std::initializer_list<QWidget*>{LNetPort, NetPort, K_NETTEST, NetTestLog})
        w->setVisible(network);
    NetTestLog->clear();
    if (!network)
        return;
    const QString address = session_.settings.NetworkPorts().value(port);
    NetPort->setText(address);
    PortInfo->setText(address.isEmpty() ? session_.Text(452)
                                        : session_.Text(450) + QLatin1Char(' ') + address);
}

void PortWindow::storeNetworkAddress() {
    const int port = selectedPort();
    if (port < PortMap::FirstNetworkPort)
        return;
    const QString address = NetPort->text().trimmed();
    if (address == session_.settings.NetworkPorts().value(port))
        return;
    NetworkAddress parsed;
    QString problem;
    if (!address.isEmpty() && !NetworkAddress::Parse(address, session_.texts, &parsed, &problem)) {
        NetTestLog->setText(session_.Text(453) + problem);
        return;
    }
    // A line open to the old address would go on talking to the controller there.
    if (port == session_.options.PortNumber)
        session_.link.close();
    const bool written = session_.settings.SetNetworkPort(port, address);
    session_.link.state.NetworkPorts = session_.settings.NetworkPorts();
    showNetworkPort(port);
    // The address holds for this run even when the settings file could not take it.
    if (!written)
        NetTestLog->setText(session_.Text(453) + session_.settings.Path());
}

void PortWindow::testNetworkPort() {
    storeNetworkAddress();
    const int port = selectedPort();
    const QString address = session_.settings.NetworkPorts().value(port);
    if (address.isEmpty() || address != NetPort->text().trimmed())
        return; // what is wrong with the field is shown already
    // A server takes one client at a time: our own line to it steps aside for the test.
    if (session_.link.isOpen() && session_.link.device() == address)
        session_.link.close();
    session_.prompts.setBusy(true);
    const NetworkProbe probe =
        ProbeNetworkPort(address, session_.options.BaudRate.trimmed().toInt(), session_.texts);
    session_.prompts.setBusy(false);
    QStringList lines;
    if (!probe.answers.isEmpty())
        lines << session_.Text(454) << probe.answers;
    if (!probe.cause.isEmpty())
        lines << session_.Text(455) + probe.cause;
    else
        lines << (probe.ready ? session_.Text(456) : session_.Text(457));
    NetTestLog->setText(lines.join(QLatin1Char('\n')));
}

void PortWindow::showPortDetails(int index) {
    if (index < 0) {
        PortInfo->clear();
        showNetworkPort(0);
        return;
    }
    const int port = entryPort(ComSel->itemText(index));
    if (port >= PortMap::FirstNetworkPort) {
        showNetworkPort(port);
        return;
    }
    showNetworkPort(0);
    PortInfo->setText(
        PortDetailsLines(DescribePort(port, session_.workDir, adapters_()), session_.texts)
            .join(QLatin1Char('\n')));
}

void PortWindow::setChoicesEnabled(bool enabled) {
    for (QWidget* choice : std::initializer_list<QWidget*>{ComSel, speedFrame_, TOK, TCL})
        choice->setEnabled(enabled);
    // While searching, the search button is the way to stop it.
    K_FIND->setEnabled(true);
    K_FIND->setText(enabled ? session_.Text(288) : session_.Text(293));
}

void PortWindow::stopSearch() {
    // The port being asked keeps its time to answer; the search ends after it.
    stopRequested_ = true;
    K_FIND->setEnabled(false);
    K_FIND->setText(session_.Text(294));
}

void PortWindow::reject() {
    if (searching_) {
        stopSearch();
        return;
    }
    QDialog::reject();
}

void PortWindow::findController() {
    // The window shows the search as it goes: one line per port asked.
    struct Progress : ControllerSearch::Observer {
        PortWindow& window;
        QStringList lines;
        explicit Progress(PortWindow& w) : window(w) {}
        void asking(int port, int index, int count) override {
            window.FindBar->setRange(0, count);
            window.FindBar->setValue(index - 1);
            window.FindLog->setText(
                (lines + QStringList{window.session_.Text(295).arg(port).arg(index).arg(count)})
                    .join(QLatin1Char('\n')));
            waiting();
        }
        void answered(int port, const PortAnswer& answer) override {
            lines << QStringLiteral("COM %1: ").arg(port) +
                         PortAnswerText(answer, window.session_.texts);
            window.FindBar->setValue(window.FindBar->value() + 1);
            window.FindLog->setText(lines.join(QLatin1Char('\n')));
        }
        void waiting() override { window.session_.prompts.processEvents(); }
        bool stopRequested() const override { return window.stopRequested_; }
    } progress(*this);

    // A network port without an address has nobody to ask.
    QList<int> ports;
    for (int i = 0; i < ComSel->count(); ++i) {
        const int port = entryPort(ComSel->itemText(i));
        if (port < PortMap::FirstNetworkPort || session_.settings.NetworkPorts().contains(port))
            ports << port;
    }
    setChoicesEnabled(false);
    FindBar->setVisible(true);
    searching_ = true;
    stopRequested_ = false;
    ControllerSearch search(session_.link, session_.options.BaudRate.trimmed().toInt());
    const int found = search.run(ports, progress);
    searching_ = false;
    if (ports.isEmpty())
        progress.lines << session_.Text(296);
    else if (found == 0 && stopRequested_)
        progress.lines << session_.Text(297);
    else if (found == 0)
        progress.lines << session_.Text(298);
    FindLog->setText(progress.lines.join(QLatin1Char('\n')));
    setChoicesEnabled(true);
    for (int index = 0; found > 0 && index < ComSel->count(); ++index) {
        if (entryPort(ComSel->itemText(index)) == found) {
            ComSel->setCurrentIndex(index);
            choosePortEntry(index);
            break;
        }
    }
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
    Panset->setText(
        PortSettingsText(session_.texts, session_.options.PortNumber, session_.options.BaudRate));
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
        session_.prompts.message(session_.Text(209) + QLatin1Char('\n') + why, windowTitle(),
                                 Prompts::Buttons::Ok, Prompts::Icon::Critical);
    accept();
}

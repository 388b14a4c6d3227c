#include "link/ControllerLink.h"

#include "link/Clock.h"
#include "link/LineCauses.h"
#include "link/NetworkAddress.h"
#include "link/PortMap.h"
#include "link/SerialLine.h"
#include "model/LanguageTexts.h"

#include <QFileInfo>

#include <algorithm>

ControllerLink::ControllerLink(SerialLine& line, Clock& clock, QString workDir,
                               const LanguageTexts& texts)
    : line_(line), clock_(clock), workDir_(std::move(workDir)), texts_(texts) {}

LinkOpening ControllerLink::open(int portNumber, int baud) {
    const QString device = PortMap::PortDevice(portNumber, workDir_, state.NetworkPorts);
    if (device.isEmpty()) {
        device_.clear();
        const bool network =
            portNumber >= PortMap::FirstNetworkPort && portNumber <= PortMap::LastPort;
        return {LinkStatus::NoSuchPort, QString(),
                (network ? texts_.Text(660) : texts_.Text(661)).arg(portNumber)};
    }
    return open(device, baud);
}

LinkOpening ControllerLink::open(const QString& device, int baud) {
    // A line that broke (the device went and may be back) is opened afresh, as is another.
    if (line_.isOpen() && (device != device_ || !line_.brokenCause().isEmpty()))
        line_.close();
    device_ = device;
    if (!line_.isOpen()) {
        // Opening a device that is not there can only fail the same way again.
        const bool network = NetworkAddress::IsNetwork(device);
        if (!network && (device.isEmpty() || !QFileInfo::exists(device)))
            return {LinkStatus::NoSuchPort, device, LineCause::NoSuchDevice};
        QString why;
        switch (line_.open(device, &why)) {
        case SerialLine::Opened::Yes:
            break;
        case SerialLine::Opened::InUse:
            return {LinkStatus::InUse, device, why};
        case SerialLine::Opened::Failed:
            // An address that cannot be right names no port: the line refused it, in the
            // operator's words, before connecting.
            if (network && !NetworkAddress::Read(device))
                return {LinkStatus::NoSuchPort, device, why};
            return {LinkStatus::OpenFailed, device, why};
        }
    }
    const auto refused = [&] {
        const QString why = line_.settingsCause();
        line_.close();
        return LinkOpening{LinkStatus::SettingsRefused, device,
                           texts_.Text(662).arg(baud) +
                               (why.isEmpty() ? QString() : QStringLiteral(": ") + why)};
    };
    if (baud <= 0 || !line_.setBaudRate(baud))
        return refused();
    line_.setHardwareFlowControl(true);
    if (!line_.settingsCause().isEmpty())
        return refused();
    if (!line_.ctsAsserted())
        return {LinkStatus::NotReady, device, LineCause::NotReady};
    return {LinkStatus::Ready, device, QString()};
}

void ControllerLink::close() {
    if (line_.isOpen())
        line_.close();
}

bool ControllerLink::isOpen() const {
    return line_.isOpen();
}

QString ControllerLink::brokenCause() const {
    if (!line_.isOpen())
        return LineCause::NotOpen;
    return line_.brokenCause();
}

LinkRead ControllerLink::read(int64_t deadlineMs, const std::function<void()>& betweenSlices) {
    for (;;) {
        if (!brokenCause().isEmpty())
            return {LinkRead::Broken, 0};
        if (betweenSlices)
            betweenSlices();
        const int64_t left = std::max<int64_t>(0, deadlineMs - clock_.nowMs());
        const int64_t wait = betweenSlices ? std::min<int64_t>(left, SliceMs) : left;
        if (const std::optional<uint8_t> c = line_.readByte(int(std::min<int64_t>(wait, 1 << 30))))
            return {LinkRead::Byte, *c};
        if (!brokenCause().isEmpty())
            return {LinkRead::Broken, 0};
        if (clock_.nowMs() >= deadlineMs)
            return {LinkRead::Silent, 0};
    }
}

bool ControllerLink::send(const QByteArray& bytes) {
    const bool written = line_.write(bytes);
    return line_.flush(FlushMs) && written;
}

bool ControllerLink::setBaudRate(int baud) {
    return line_.setBaudRate(baud);
}
void ControllerLink::setHardwareFlowControl(bool on) {
    line_.setHardwareFlowControl(on);
}
bool ControllerLink::ctsAsserted() const {
    return line_.ctsAsserted();
}
void ControllerLink::clearInput() {
    line_.clearInput();
}
void ControllerLink::discardOutput() {
    line_.discardOutput();
}

int16_t LinkErrorNumber(LinkStatus status) {
    switch (status) {
    case LinkStatus::Ready:
        return 0;
    case LinkStatus::NotReady:
        break;
    case LinkStatus::NoSuchPort:
        return 101;
    case LinkStatus::OpenFailed:
        return 102;
    case LinkStatus::SettingsRefused:
        return 103;
    case LinkStatus::InUse:
        return 104;
    }
    return 1;
}

QString LinkStatusText(const LinkOpening& opening) {
    if (opening.ready())
        return QString();
    return opening.device.isEmpty() ? opening.cause
                                    : opening.device + QStringLiteral(": ") + opening.cause;
}

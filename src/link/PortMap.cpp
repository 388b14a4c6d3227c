#include "link/PortMap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <fcntl.h>
#include <termios.h>
#include <unistd.h>

namespace PortMap {

QString PortLink(int n, const QString& workDir) {
    return QDir(workDir).filePath(QStringLiteral("ports/COM") + QString::number(n));
}

QString PortDevice(int n, const QString& workDir, const NetworkPorts& network) {
    if (n < FirstPort || n > LastPort)
        return QString();
    if (n >= FirstNetworkPort)
        return network.value(n);
    const QString link = PortLink(n, workDir);
    // A link left behind by a simulator that has ended points nowhere: the machine's own
    // device of that number is meant then.
    if (!workDir.isEmpty() && QFileInfo::exists(link))
        return link;
    if (n <= 32)
        return QStringLiteral("/dev/ttyS") + QString::number(n - 1);
    if (n <= 48)
        return QStringLiteral("/dev/ttyUSB") + QString::number(n - 33);
    return QStringLiteral("/dev/ttyACM") + QString::number(n - 49);
}

bool DeviceExists(const QString& path) {
    if (path.isEmpty() || !QFileInfo::exists(path))
        return false;
    const QByteArray native = QFile::encodeName(path);
    // Non-blocking so that a port without carrier does not hold us; no controlling tty.
    const int fd = ::open(native.constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno == EBUSY; // held exclusively, by us or another program: it is there
    termios settings{};
    // A /dev/ttyS node without a UART behind it opens but is not a serial line.
    const bool serial = ::tcgetattr(fd, &settings) == 0;
    ::close(fd);
    return serial;
}

} // namespace PortMap

bool EnumSerPorts(int n, const QString& workDir, const PortMap::NetworkPorts& network) {
    if (n >= PortMap::FirstNetworkPort)
        return !PortMap::PortDevice(n, workDir, network).isEmpty();
    return PortMap::DeviceExists(PortMap::PortDevice(n, workDir));
}

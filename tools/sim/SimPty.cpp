#include "SimPty.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

SimPty::~SimPty() {
    if (slave_ >= 0)
        ::close(slave_);
    if (master_ >= 0)
        ::close(master_);
}

bool SimPty::create(QString* errorText) {
    auto fail = [&](const char* step) {
        if (errorText)
            *errorText = QString::fromLatin1(step) + QStringLiteral(": ") +
                         QString::fromLocal8Bit(std::strerror(errno));
        return false;
    };
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0)
        return fail("posix_openpt");
    if (::grantpt(master_) != 0)
        return fail("grantpt");
    if (::unlockpt(master_) != 0)
        return fail("unlockpt");
    const char* name = ::ptsname(master_);
    if (!name)
        return fail("ptsname");
    devicePath_ = QString::fromLocal8Bit(name);
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0)
        return fail("open terminal");
    termios raw{};
    if (::tcgetattr(slave_, &raw) != 0)
        return fail("tcgetattr");
    // Raw both ways: no echo, no line editing, no CR/LF translation, 8 data bits.
    ::cfmakeraw(&raw);
    ::cfsetispeed(&raw, B9600);
    ::cfsetospeed(&raw, B9600);
    if (::tcsetattr(slave_, TCSANOW, &raw) != 0)
        return fail("tcsetattr");
    return true;
}

void SimPty::hangUp() {
    if (master_ >= 0)
        ::close(master_);
    master_ = -1;
}

std::optional<uint8_t> SimPty::readByte(int timeoutMs) {
    // After a hang-up poll() skips the closed end and only waits out the time.
    pollfd p{master_, POLLIN, 0};
    const int ready = ::poll(&p, 1, timeoutMs < 0 ? 0 : timeoutMs);
    if (ready <= 0 || !(p.revents & POLLIN))
        return std::nullopt;
    unsigned char c = 0;
    if (::read(master_, &c, 1) != 1)
        return std::nullopt;
    return c;
}

bool SimPty::write(const QByteArray& bytes) {
    if (master_ < 0)
        return false;
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(master_, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR || errno == EAGAIN) {
                pollfd p{master_, POLLOUT, 0};
                ::poll(&p, 1, 100);
                continue;
            }
            return false;
        }
        done += n;
    }
    return true;
}

void SimPty::discardInput() {
    while (readByte(0)) {
    }
}

#include "link/DeviceLine.h"

SerialLine::Opened DeviceLine::open(const QString& device, QString* errorText) {
    SerialLine* wanted = NetworkAddress::IsNetwork(device) ? static_cast<SerialLine*>(&network_)
                                                           : static_cast<SerialLine*>(&serial_);
    if (wanted != active_)
        active_->close();
    active_ = wanted;
    return active_->open(device, errorText);
}

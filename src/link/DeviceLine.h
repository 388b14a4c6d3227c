#pragma once

#include "link/NetworkSerialLine.h"
#include "link/QtSerialLine.h"

// The line q517 and q517-cli open: a network serial port for "rfc2217://" and "tcp://", the
// serial device (or pseudo-terminal) for any other name. Above this nothing tells them apart.
class DeviceLine : public SerialLine {
public:
    // A network port words what it says of its server with texts, which must outlive the line.
    explicit DeviceLine(const LanguageTexts& texts) : network_(texts) {}
    Opened open(const QString& device, QString* errorText) override;
    void close() override { active_->close(); }
    bool isOpen() const override { return active_->isOpen(); }
    bool setBaudRate(int baud) override { return active_->setBaudRate(baud); }
    void setHardwareFlowControl(bool on) override { active_->setHardwareFlowControl(on); }
    bool ctsAsserted() const override { return active_->ctsAsserted(); }
    QString settingsCause() const override { return active_->settingsCause(); }
    int bytesWaiting() override { return active_->bytesWaiting(); }
    std::optional<uint8_t> readByte(int timeoutMs) override { return active_->readByte(timeoutMs); }
    QString brokenCause() const override { return active_->brokenCause(); }
    bool write(const QByteArray& bytes) override { return active_->write(bytes); }
    bool flush(int timeoutMs) override { return active_->flush(timeoutMs); }
    void clearInput() override { active_->clearInput(); }
    void discardOutput() override { active_->discardOutput(); }

private:
    QtSerialLine serial_;
    NetworkSerialLine network_;
    SerialLine* active_ = &serial_;
};

#pragma once

#include "link/SerialLine.h"

// A line that has no port behind it: every open fails.
class AbsentSerialLine : public SerialLine {
public:
    Opened open(const QString&, QString* errorText) override {
        if (errorText)
            *errorText = QStringLiteral("no such port");
        return Opened::Failed;
    }
    void close() override {}
    bool isOpen() const override { return false; }
    bool setBaudRate(int) override { return false; }
    void setHardwareFlowControl(bool) override {}
    bool ctsAsserted() const override { return false; }
    int bytesWaiting() override { return 0; }
    std::optional<uint8_t> readByte(int) override { return std::nullopt; }
    QString brokenCause() const override { return QString(); }
    bool write(const QByteArray&) override { return false; }
    bool flush(int) override { return false; }
    void clearInput() override {}
    void discardOutput() override {}
};

#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class LanguageTexts;

// What the system says about one serial adapter it knows, by the device it gives.
struct AdapterInfo {
    QString device; // "/dev/ttyUSB0"
    QString manufacturer;
    QString product;
    QString serialNumber;
};
// The adapters the system knows now.
QList<AdapterInfo> SystemAdapters();

// What Set Commport shows beside its list about one port.
struct PortDetails {
    QString device;       // the port map's device; empty when the number names none
    QString linkTarget;   // where the device leads when it is a link (a simulator's port)
    bool present = false; // the device is there now
    // Manufacturer and product, those the adapter gives, and its serial number; empty when it
    // gives none (a built-in port, a pseudo-terminal).
    QString adapter;
    QString serialNumber;
};
PortDetails DescribePort(int port, const QString& workDir, const QList<AdapterInfo>& adapters);
// "Device: ...", "Link to: ...", "Adapter: ..." or what is missing, one per line.
QStringList PortDetailsLines(const PortDetails& details, const LanguageTexts& texts);

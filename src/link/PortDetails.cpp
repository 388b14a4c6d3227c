#include "link/PortDetails.h"
#include "model/LanguageTexts.h"

#include "link/PortMap.h"

#include <QFileInfo>
#include <QSerialPortInfo>

QList<AdapterInfo> SystemAdapters() {
    QList<AdapterInfo> adapters;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts())
        adapters.append(
            {info.systemLocation(), info.manufacturer(), info.description(), info.serialNumber()});
    return adapters;
}

PortDetails DescribePort(int port, const QString& workDir, const QList<AdapterInfo>& adapters) {
    PortDetails details;
    details.device = PortMap::PortDevice(port, workDir);
    const QFileInfo file(details.device);
    if (details.device.isEmpty())
        return details;
    if (file.isSymLink())
        details.linkTarget = file.symLinkTarget();
    details.present = file.exists();
    if (!details.present)
        return details;
    // The system names an adapter by its device node; a link (ports/COMn) leads there.
    const QString node = file.canonicalFilePath();
    QStringList parts;
    for (const AdapterInfo& adapter : adapters) {
        if (QFileInfo(adapter.device).canonicalFilePath() != node)
            continue;
        for (const QString& part : {adapter.manufacturer, adapter.product})
            if (!part.trimmed().isEmpty() && !parts.contains(part.trimmed()))
                parts << part.trimmed();
        details.serialNumber = adapter.serialNumber.trimmed();
        break;
    }
    details.adapter = parts.join(QStringLiteral(", "));
    return details;
}

QStringList PortDetailsLines(const PortDetails& details, const LanguageTexts& texts) {
    if (details.device.isEmpty())
        return {texts.Text(270)};
    QStringList lines{texts.Text(271) + details.device};
    if (!details.linkTarget.isEmpty())
        lines << texts.Text(272) + details.linkTarget;
    if (!details.present)
        return lines << texts.Text(273);
    QStringList adapter;
    if (!details.adapter.isEmpty())
        adapter << details.adapter;
    if (!details.serialNumber.isEmpty())
        adapter << texts.Text(664).arg(details.serialNumber);
    return lines << texts.Text(274) +
                        (adapter.isEmpty() ? texts.Text(275) : adapter.join(QStringLiteral(", ")));
}

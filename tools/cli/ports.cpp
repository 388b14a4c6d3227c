// q517-cli ports: the serial ports this machine has, as the port window lists them.
#include "CliCommand.h"
#include "CliDevice.h"
#include "model/LanguageTexts.h"

#include "link/PortMap.h"

namespace {

int RunPorts(const QStringList& args);

const CliRegistration registration(CliCommand{QStringLiteral("ports"), QStringLiteral("ports"),
                                              [] { return CliTexts().Text(156); }, RunPorts});

int RunPorts(const QStringList& args) {
    if (!args.isEmpty())
        return cliUsageError(CliCommands().at(QStringLiteral("ports")));
    const QString workDir = CliWorkDir();
    const PortMap::NetworkPorts network = CliNetworkPorts();
    for (int n = PortMap::FirstPort; n <= PortMap::LastPort; ++n) {
        if (EnumSerPorts(n, workDir, network))
            cliOut() << "COM " << n << "\t" << PortMap::PortDevice(n, workDir, network) << "\n";
    }
    return 0;
}

} // namespace

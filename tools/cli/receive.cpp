// q517-cli receive: the controller's program into a cam file, as Comm > Receive Sizes
// reads it.
#include "CliCommand.h"
#include "CliDevice.h"
#include "CliTransferProgress.h"
#include "model/LanguageTexts.h"

#include "link/Identification.h"
#include "link/LinkOutcome.h"
#include "link/ProgramReception.h"
#include "link/ReceivedFormats.h"
#include "link/TransferFile.h"
#include "model/CamFileWriter.h"
#include "model/TextFile.h"

namespace {

int RunReceive(const QStringList& args);

const CliRegistration registration(CliCommand{
    QStringLiteral("receive"),
    QStringLiteral("receive OUT.CAM (--port N | --device PATH) [--baud B]"),
    [] { return CliTexts().Text(158); }, RunReceive});

int RunReceive(const QStringList& args) {
    CliDeviceArgs device;
    QString path;
    if (!ParseDeviceAndCamFile(args, QStringLiteral("receive"), &device, &path))
        return 2;

    CliDevice cli(device);
    Session& session = cli.session();
    // The program takes the controller's type: whatever it holds is what the file gets.
    const Identification identified = IdentifyController(session.linkContext());
    if (identified.result != IdentifyResult::Identified) {
        ShowOutcome(session.linkContext(), identified.outcome);
        return 1;
    }
    session.program.Reconfigure(session.link.state.IdentCamCount,
                                session.link.state.IdentFormatCount, false);

    CliTransferProgress progress(session);
    const TransferOutcome outcome = RunReception(session.linkContext(), session.program, progress);
    // Whole means every format of the type, in order, and END: a controller that ends its
    // stream early must not leave a file that looks like its program.
    QString missing;
    if (outcome != TransferOutcome::NotStarted) {
        QByteArray transfer;
        TextFile::ReadAll(TransferFile::Path(session.link), transfer);
        missing =
            ReceivedFormats::Scan(transfer).MissingText(session.program.FormatCount(), CliTexts());
    }
    TransferFileReading read;
    if (outcome == TransferOutcome::Completed && missing.isEmpty())
        read = ReadTransferFile(session.linkContext(), session.program);
    if (outcome != TransferOutcome::Completed || !missing.isEmpty() ||
        read != TransferFileRead::Read) {
        ShowOutcome(session.linkContext(), read.outcome);
        cliErr() << "q517-cli: " << CliTexts().Text(584)
                 << (missing.isEmpty() ? QString() : QStringLiteral(" (") + missing + ')') << "; "
                 << CliTexts().Text(585).arg(path) << "\n";
        return 1;
    }
    FileWriteError error;
    if (!WriteCamFile(session.program, path, false, &error)) {
        cliErr() << "q517-cli: " << FileWriteErrorText(error, CliTexts()) << "\n";
        return 1;
    }
    cliErr() << "q517-cli: " << CliTexts().Text(586).arg(path) << "\n";
    return 0;
}

} // namespace

// q517-cli print FILE.CAM --pdf OUT.pdf [--format N | --all] [--graphic]: the pages of the
// print window, written into a PDF file.
#include "CliCommand.h"
#include "model/LanguageTexts.h"

#include "model/CamFileReader.h"
#include "model/CamProgram.h"
#include "print/PrintJob.h"
#include "print/gui/PainterPrintSurface.h"

#include <QDir>
#include <QFileInfo>
#include <QPageLayout>

#include <optional>

namespace {

// The resolution of a high-resolution printer, as the window's PDF files have it.
constexpr int HighResolutionDpi = 1200;

int RunPrint(const QStringList& args);

const CliRegistration registration(CliCommand{
    QStringLiteral("print"),
    QStringLiteral("print FILE.CAM --pdf OUT.pdf [--format N | --all] [--graphic]"),
    [] { return CliTexts().Text(157); }, RunPrint});

struct PrintArgs {
    QString camFile;
    QString pdfFile;
    std::optional<long long> format;
    bool all = false;
    bool graphic = false;
};

// Null when the arguments do not make a print request; problem says why.
std::optional<PrintArgs> parseArgs(const QStringList& args, QString& problem) {
    PrintArgs parsed;
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args.at(i);
        if (arg == QLatin1String("--pdf") || arg == QLatin1String("--format")) {
            if (i + 1 >= args.size()) {
                problem = CliTexts().Text(547).arg(arg);
                return std::nullopt;
            }
            const QString value = args.at(++i);
            if (arg == QLatin1String("--pdf")) {
                parsed.pdfFile = value;
            } else {
                bool ok = false;
                const long long n = value.toLongLong(&ok);
                if (!ok) {
                    problem = CliTexts().Text(572).arg(value);
                    return std::nullopt;
                }
                parsed.format = n;
            }
        } else if (arg == QLatin1String("--all")) {
            parsed.all = true;
        } else if (arg == QLatin1String("--graphic")) {
            parsed.graphic = true;
        } else if (arg.startsWith(QLatin1String("--")) || !parsed.camFile.isEmpty()) {
            problem = CliTexts().Text(573).arg(arg);
            return std::nullopt;
        } else {
            parsed.camFile = arg;
        }
    }
    if (parsed.camFile.isEmpty() || parsed.pdfFile.isEmpty()) {
        problem = CliTexts().Text(574);
        return std::nullopt;
    }
    if (parsed.all && parsed.format) {
        problem = CliTexts().Text(575);
        return std::nullopt;
    }
    return parsed;
}

QString readProblem(const CamReadResult& read) {
    switch (read.status) {
    case CamReadResult::Status::Missing:
        return CliTexts().Text(565);
    case CamReadResult::Status::Unreadable:
        return CliTexts().Text(567) +
               (read.error.Reason.isEmpty()
                    ? QString()
                    : QStringLiteral(": ") + CamReadReason(read.error, CliTexts()));
    default:
        return CliTexts().Text(566).arg(read.error.LineNumber) + QStringLiteral(" \"") +
               read.error.Line + QStringLiteral("\": ") + CamReadReason(read.error, CliTexts());
    }
}

bool sameFile(const QString& a, const QString& b) {
    const QFileInfo fa(a), fb(b);
    if (fa.exists() && fb.exists())
        return fa.canonicalFilePath() == fb.canonicalFilePath();
    return QDir::cleanPath(fa.absoluteFilePath()) == QDir::cleanPath(fb.absoluteFilePath());
}

int RunPrint(const QStringList& args) {
    const CliCommand& self = CliCommands().at(QStringLiteral("print"));
    QString problem;
    const std::optional<PrintArgs> parsed = parseArgs(args, problem);
    if (!parsed)
        return cliUsageError(self, problem);
    if (sameFile(parsed->camFile, parsed->pdfFile))
        return cliUsageError(self, CliTexts().Text(576));

    CamProgram program;
    const CamReadResult read = ReadCamFile(program, parsed->camFile);
    if (!read.ok()) {
        cliErr() << "q517-cli: " << parsed->camFile << ": " << readProblem(read) << "\n";
        return 1;
    }
    // The page headers name the file, as after Open in the window.
    program.CurrentFileName = QFileInfo(parsed->camFile).absoluteFilePath();

    PrintJob::Request request;
    request.allFormats = parsed->all;
    request.graphic = parsed->graphic;
    const long long format = parsed->format.value_or(1);
    if (!parsed->all && !program.IsValidFormat(int(qBound(-1LL, format, 1000LL)))) {
        cliErr() << "q517-cli: "
                 << CliTexts().Text(568).arg(QString::number(format),
                                             QString::number(program.FormatCount()),
                                             parsed->camFile)
                 << "\n";
        return 2;
    }
    request.format = int(format);

    // The pages take OUT's place only when the job is complete, so a failed print leaves an
    // earlier OUT whole.
    const QPageLayout a4(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(10, 10, 10, 10),
                         QPageLayout::Millimeter);
    QString failed;
    auto surface = PainterPrintSurface::BeginPdf(parsed->pdfFile, a4, HighResolutionDpi,
                                                 QFileInfo(parsed->camFile).fileName(), &failed);
    if (!surface) {
        cliErr() << "q517-cli: " << CliTexts().Text(569).arg(failed) << "\n";
        return 1;
    }
    const bool printed = PrintJob::Print(*surface, program, request, CliTexts());
    const int pages = surface->page();
    if (!printed) {
        cliErr() << "q517-cli: " << CliTexts().Text(569).arg(surface->failure()) << "\n";
        return 1;
    }
    cliOut() << parsed->pdfFile << ": "
             << (pages == 1 ? CliTexts().Text(570) : CliTexts().Text(571)).arg(pages) << "\n";
    return 0;
}

} // namespace

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
                problem = arg + QStringLiteral(" needs a value");
                return std::nullopt;
            }
            const QString value = args.at(++i);
            if (arg == QLatin1String("--pdf")) {
                parsed.pdfFile = value;
            } else {
                bool ok = false;
                const long long n = value.toLongLong(&ok);
                if (!ok) {
                    problem =
                        QStringLiteral("format '") + value + QStringLiteral("' is not a number");
                    return std::nullopt;
                }
                parsed.format = n;
            }
        } else if (arg == QLatin1String("--all")) {
            parsed.all = true;
        } else if (arg == QLatin1String("--graphic")) {
            parsed.graphic = true;
        } else if (arg.startsWith(QLatin1String("--")) || !parsed.camFile.isEmpty()) {
            problem = QStringLiteral("unexpected argument '") + arg + QLatin1Char('\'');
            return std::nullopt;
        } else {
            parsed.camFile = arg;
        }
    }
    if (parsed.camFile.isEmpty() || parsed.pdfFile.isEmpty()) {
        problem = QStringLiteral("a cam file and --pdf OUT.pdf are needed");
        return std::nullopt;
    }
    if (parsed.all && parsed.format) {
        problem = QStringLiteral("--format and --all exclude each other");
        return std::nullopt;
    }
    return parsed;
}

QString readProblem(const CamReadResult& read) {
    switch (read.status) {
    case CamReadResult::Status::Missing:
        return QStringLiteral("no such file");
    case CamReadResult::Status::Unreadable:
        return QStringLiteral("cannot be read") +
               (read.error.Reason.isEmpty() ? QString() : QStringLiteral(": ") + read.error.Reason);
    default:
        return QStringLiteral("line ") + QString::number(read.error.LineNumber) +
               QStringLiteral(" \"") + read.error.Line + QStringLiteral("\": ") + read.error.Reason;
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
        return cliUsageError(self, QStringLiteral("the PDF file would replace the cam file"));

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
        cliErr() << "q517-cli: format " << format << " is outside 1.." << program.FormatCount()
                 << " of " << parsed->camFile << "\n";
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
        cliErr() << "q517-cli: cannot write " << failed << "\n";
        return 1;
    }
    const bool printed = PrintJob::Print(*surface, program, request, CliTexts());
    const int pages = surface->page();
    if (!printed) {
        cliErr() << "q517-cli: cannot write " << surface->failure() << "\n";
        return 1;
    }
    cliOut() << parsed->pdfFile << ": " << pages << (pages == 1 ? " page" : " pages") << "\n";
    return 0;
}

} // namespace

#pragma once

#include "production/LineRun.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QString>

class LanguageTexts;

// "ok", "failed", "different", "stopped" (a target that never ended counts as stopped): the
// report's words, which the summary's result column and tally keep in every language so that
// a script reads either.
QString ResultName(TargetStatus::Result result);

// The table printed when the line has ended: target, type, result, seconds and cause, one
// row per target in the order given, then the count of each result ("7 ok, 1 failed"). The
// column heads are the operator's language.
QString SummaryTable(const QList<TargetStatus>& statuses, const LanguageTexts& texts);

// What the line's records keep of one run.
struct LineReportHeader {
    QString command; // "send", "verify", "flash"
    QString file;    // the cam file or image
    QDateTime started;
    double seconds = 0;
};
// The summary as one JSON object: the header, the count of each result and one object per
// target ({"target", "port" or "device", "type", "result", "seconds", "cause"}).
QByteArray ReportJson(const LineReportHeader& header, const QList<TargetStatus>& statuses);
// Writes it whole or not at all: an earlier report of that name stays as it was on failure,
// and why has the system's cause (a full disk shows at the write, never as an empty report).
bool WriteLineReport(const QString& path, const QByteArray& json, QString* why);
// Why a report could never be written at path, asked before any controller is touched: a
// directory, a folder that is not there or cannot be written, something that is no regular
// file, or the line's own input file (the program would be replaced by the report). Empty
// when it can be tried.
QString ReportPathProblem(const QString& path, const QString& inputFile,
                          const LanguageTexts& texts);

// How the line ends for a script. Sending and flashing: 0 when every target ended Ok, else 1.
// Verifying: 0 when every controller holds the program, 1 when some differ and none had
// trouble, 2 when any failed or was stopped (nothing can be said of its program).
int LineExitStatus(const QList<TargetStatus>& statuses, bool verifying = false);

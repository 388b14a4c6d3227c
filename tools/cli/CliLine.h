#pragma once

#include "production/LineRun.h"
#include "production/LineTargets.h"

#include <QString>

// Runs a device command (send, verify, flash) on every target of a production line at once,
// one controller being a line of one: the same identification, causes and exit status
// whatever the count. Progress goes to standard error (one line per target, in place on a
// terminal; a line of one shows its job's own lines instead), the summary table to standard
// output unless quiet, and the JSON report when --report names one. Ctrl+C (or SIGTERM) asks
// every target to stop; each closes its line and the summary says "stopped". Returns the
// exit status of LineExitStatus, or 2 when two targets reach one device.
int RunLine(const QString& command, const QString& file, const LineArgs& line, const TargetJob& job,
            bool quiet = false);

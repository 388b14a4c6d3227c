#pragma once

#include "production/LineRun.h"
#include "production/LineTargets.h"

#include <QString>

// Runs a device command on every target of a production line at once: one progress line per
// target on standard error (in place on a terminal), the summary table on standard output,
// the JSON report when --report names one. Ctrl+C (or SIGTERM) asks every target to stop;
// each closes its line and the summary says "stopped". Returns the exit status: 0 when
// every target succeeded, 1 when any did not, 2 when two targets reach one device.
int RunLine(const QString& command, const QString& file, const LineArgs& line,
            const TargetJob& job);

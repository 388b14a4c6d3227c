#pragma once

#include <QString>

// The language script the options file in workDir names (q517's default when there is no
// options file yet), found as DataPaths::Find finds data; empty when it exists nowhere.
// Says nothing to anyone: the programs without a window and --help use it before any window.
QString OperatorScript(const QString& workDir);

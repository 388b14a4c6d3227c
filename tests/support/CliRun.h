#pragma once

#include "support/SimProcess.h"

#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

// One run of the built q517-cli with the per-user data and settings directories inside home.
struct CliRun {
    int status = -1; // -1: it crashed or did not end in time
    QString out;
    QString err;

    static CliRun Run(const QStringList& args, const QString& home, int timeoutMs = 60000) {
        QProcess cli;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("XDG_DATA_HOME"), home);
        env.insert(QStringLiteral("XDG_CONFIG_HOME"), home + QStringLiteral("/config"));
        cli.setProcessEnvironment(env);
        cli.start(SimProcess::CliBinary(), args);
        CliRun run;
        if (!cli.waitForFinished(timeoutMs)) {
            cli.kill();
            cli.waitForFinished(5000);
            return run;
        }
        run.status = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
        run.out = QString::fromUtf8(cli.readAllStandardOutput());
        run.err = QString::fromUtf8(cli.readAllStandardError());
        return run;
    }
};

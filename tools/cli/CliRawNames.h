#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

// File names as the shell gave them. A name that is not valid UTF-8 cannot pass through a
// QString unchanged (it would come back with U+FFFD in it), so it is reached through a name
// of our own: a file read through a symbolic link to it, a file written under a stand-in
// beside it that takes its exact name in one rename once the command has ended. Messages show
// it with its odd bytes as \xNN.
class CliRawNames {
public:
    // argv after the program's name; command is argv[1].
    QStringList arguments(int argc, char* argv[]);
    // Gives every file written under a stand-in its own name; false (with the cause on
    // standard error) when one could not be renamed.
    bool finish();
    // text with every stand-in replaced by the name it stands for.
    QString shown(const QString& text) const;

private:
    QString standIn(const QByteArray& raw, bool output);

    struct Name {
        QString standIn;
        QByteArray raw;
        bool output = false;
    };
    QTemporaryDir links_;
    QList<Name> names_;
};

// The one set of names of this run of q517-cli.
CliRawNames& CliNames();

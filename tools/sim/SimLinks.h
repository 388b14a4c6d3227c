#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Several controllers served by one simulator, so a whole production line can be rehearsed.
// The command line is cut into one argument list per link: the options before the first
// --port or --link apply to every link; each --port or --link starts the options of one
// more link (its own program, store file, type and faults). --count N with a single
// --link PREFIX makes the links PREFIX1..PREFIXN, with a single --port P the ports
// P..P+N-1, all with the same options. Without --port or --link there is one link, the
// terminal alone. The lists hold the options only (no program name).
bool SplitLinkArguments(const QStringList& args, QList<QStringList>* links, QString* problem);

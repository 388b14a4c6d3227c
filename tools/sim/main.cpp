#include <QCoreApplication>
#include <QTextStream>

#include <cstdio>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTextStream err(stderr);
    // The simulator's line service comes with the serial link.
    err << "q517-sim: no line service yet\n";
    return 1;
}

#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

class SimController;

// One part of the simulated controller (identification, program transfers, flash update).
// Each lives in its own file and registers itself with a static SimModuleRegistration, so
// adding one never touches main.cpp:
//
//   static SimModuleRegistration registration(SimModule{
//       "transfer", {QCommandLineOption("program", "...", "FILE")}, {"nak-first", "silent-after"},
//       [](const QCommandLineParser& args, SimController& controller, QString* error) {
//           controller.onTransferCommand("?FR", ...);
//           return true;
//       }});
struct SimModule {
    QString name;
    // Options of its own, added to the command line.
    QList<QCommandLineOption> options;
    // Fault names it understands ("nak-first", or "silent-after" for "silent-after=N").
    QStringList faults;
    // Reads its options and registers its handlers; false with error set on a bad option.
    std::function<bool(const QCommandLineParser& args, SimController& controller, QString* error)>
        install;
};

std::vector<SimModule>& SimModules();

struct SimModuleRegistration {
    explicit SimModuleRegistration(SimModule module) { SimModules().push_back(std::move(module)); }
};

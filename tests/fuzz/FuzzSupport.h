#pragma once

#include "dialogs/CommonDialog.h"
#include "dialogs/Prompts.h"
#include "link/Clock.h"
#include "model/CamProgram.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

// Answers every message with its first button and records nothing: a fuzzed input may show
// any message, only a crash or a broken model counts.
class SilentPrompts : public Prompts {
public:
    Answer message(const QString&, const QString&, Buttons buttons, Icon) override {
        switch (buttons) {
        case Buttons::YesNo:
        case Buttons::YesNoCancel:
            return Answer::Yes;
        case Buttons::RetryCancel:
            return Answer::Cancel;
        default:
            return Answer::Ok;
        }
    }
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return QStringLiteral("1");
    }
    void setBusy(bool) override {}
    void processEvents() override {}
};

// A clock that moves only when slept on or when a wait gives up.
class StillClock : public Clock {
public:
    int64_t nowMs() const override { return now; }
    void sleepMs(int64_t ms) override { now += ms > 0 ? ms : 0; }
    int64_t now = 0;
};

// No file or printer dialog ever opens while fuzzing.
class NoDialogs : public CommonDialogBackend {
public:
    bool chooseFile(bool, const CommonDialog&, FileChoice&, int32_t&) override { return false; }
    bool choosePrinter(const CommonDialog&, PrinterChoice&, int32_t&) override { return false; }
};

// A scratch directory that lives as long as the fuzzing process.
inline const QString& FuzzDir() {
    static QTemporaryDir dir;
    static const QString path = dir.path();
    return path;
}

inline QString WriteFuzzFile(const QString& name, const uint8_t* data, size_t size) {
    const QString path = QDir(FuzzDir()).filePath(name);
    QFile file(path);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        file.write(reinterpret_cast<const char*>(data), qint64(size));
    return path;
}

// The model after any input: only 0 and 1, sized by one of the six pairs, current format
// and cam in range. Anything else aborts, so the fuzzer keeps the input.
inline void CheckProgramInvariants(const CamProgram& p) {
    auto fail = [](const char* what) {
        std::fprintf(stderr, "model invariant broken: %s\n", what);
        std::abort();
    };
    if (!CamProgram::IsValidPair(p.CamCount(), p.FormatCount()))
        fail("pair");
    if (!p.IsValidFormat(p.CurrentFormat))
        fail("CurrentFormat");
    if (!p.IsValidCam(p.CurrentCam))
        fail("CurrentCam");
    if (int(p.Parameters.CamAdvance.size()) != p.CamCount() || p.CamNames().size() != p.CamCount())
        fail("array sizes");
    for (int f = 1; f <= p.FormatCount(); ++f) {
        for (int c = 1; c <= p.CamCount(); ++c) {
            const uint8_t* d = p.CamDegrees(f, c);
            for (int k = 0; k < CamProgram::Degrees; ++k) {
                if (d[k] > 1)
                    fail("degree not 0 or 1");
            }
        }
    }
    for (const QString& name : p.CamNames()) {
        if (name.size() > CamProgram::MaxNameLength)
            fail("name too long");
    }
}

// Qt wants an application object for file and text services.
inline void EnsureFuzzApp() {
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    static QCoreApplication* app =
        QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
    (void)app;
}

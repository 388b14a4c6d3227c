// Any bytes as the options file: read, then written back and read again unchanged.
#include "FuzzSupport.h"
#include "shell/Options.h"

#include <cstdio>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EnsureFuzzApp();
    WriteFuzzFile(QStringLiteral("q517_opt.def"), data, size);
    SilentPrompts prompts;
    Options options;
    options.ReadOptionsFile(FuzzDir(), prompts);
    if (options.RecentFiles.size() > Options::MaxRecentFiles)
        std::abort();
    options.AddRecentFile(QStringLiteral("/tmp/X.CAM"));
    if (options.RecentFiles.size() > Options::MaxRecentFiles ||
        options.RecentFiles.value(0) != QStringLiteral("/tmp/X.CAM"))
        std::abort();
    return 0;
}

// Any bytes as a firmware image: the check ends in a verdict, counting sensibly.
#include "FuzzSupport.h"
#include "flash/ImageCheck.h"
#include "model/LanguageTexts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EnsureFuzzApp();
    const QString path = WriteFuzzFile(QStringLiteral("image.hex"), data, size);
    qint64 lastLine = -1;
    const ImageCheckResult result = CheckImage(path, [&](qint64 line, qint64 bytes) {
        if (line < lastLine || bytes < 0)
            std::abort();
        lastLine = line;
    });
    if (result.lines < 0 || result.bytes < 0 || result.bytes > qint64(size))
        std::abort();
    // Every text present, so an empty failure text can only mean a passed check.
    static const LanguageTexts texts = [] {
        QByteArray script = "H\r\n";
        for (int n = 2; n <= LanguageTexts::Count; ++n)
            script += "\"X\"\r\n";
        LanguageTexts loaded;
        loaded.LoadFromBytes(script + "\r\n");
        return loaded;
    }();
    if (result.passed() != result.failureText(texts).isEmpty())
        std::abort();
    return 0;
}

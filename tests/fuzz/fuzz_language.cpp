// Any bytes as a language script: 500 texts at most, none holding a line break.
#include "FuzzSupport.h"
#include "model/LanguageTexts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    EnsureFuzzApp();
    LanguageTexts texts;
    texts.LoadFromBytes(QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
    for (int n = 0; n <= LanguageTexts::Count + 1; ++n) {
        const QString text = texts.Text(n);
        if ((n < 1 || n > LanguageTexts::Count) && !text.isEmpty())
            std::abort();
        if (text.contains(QStringLiteral("\r\n")))
            std::abort();
    }
    return 0;
}

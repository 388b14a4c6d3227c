#include "shell/OperatorScript.h"

#include "dialogs/Prompts.h"
#include "shell/Options.h"
#include "shell/Session.h"

namespace {
// The options file is read without a word when it is missing: a script or a --help may come
// before q517 was ever started, and then takes q517's defaults.
class QuietPrompts : public Prompts {
public:
    Answer message(const QString&, const QString&, Buttons, Icon) override { return Answer::Ok; }
    std::optional<QString> input(const QString&, const QString&, const QString&) override {
        return std::nullopt;
    }
    void setBusy(bool) override {}
    void processEvents() override {}
};
} // namespace

QString OperatorScript(const QString& workDir) {
    Options options;
    QuietPrompts quiet;
    options.ReadOptionsFile(workDir, quiet);
    return DataPaths::Find(options.LanguageFile, workDir);
}

#include "flash/HexFileChoice.h"

#include "dialogs/CommonDialog.h"
#include "dialogs/Prompts.h"
#include "model/LanguageTexts.h"

#include <QDir>

namespace HexFileChoice {

namespace {
// Puts the process's current directory back, whatever way the choice ends.
class CurrentDirectoryGuard {
public:
    CurrentDirectoryGuard() : saved_(QDir::currentPath()) {}
    ~CurrentDirectoryGuard() { QDir::setCurrent(saved_); }

private:
    QString saved_;
};
} // namespace

bool ChooseHexFile(CommonDialog& dialog, Prompts& prompts, const LanguageTexts& texts,
                   HexFileMemory& memory) {
    CurrentDirectoryGuard keepDirectory;
    if (!memory.HexLastDirectory.isEmpty())
        dialog.InitDir = memory.HexLastDirectory;
    dialog.FileName = memory.HexFilePath;
    dialog.DialogTitle = texts.Text(11);
    dialog.Filter = texts.Text(332) + QStringLiteral("(*.hex)|*.hex|") + texts.Text(73) +
                    QStringLiteral("(*.*)|*.*");
    dialog.Flags = 0;
    bool chosen = false;
    try {
        chosen = dialog.ShowOpen();
    } catch (const CommonDialogCancel&) {
        chosen = false;
    }
    memory.HexFilePath = chosen ? dialog.FileName : QString();
    if (memory.HexFilePath.isEmpty())
        return false;
    const QString title = dialog.FileTitle();
    if (title.size() >= MaxTitleLength)
        return false;
    memory.HexLastDirectory = memory.HexFilePath.left(memory.HexFilePath.size() - title.size());
    prompts.processEvents();
    return true;
}

} // namespace HexFileChoice

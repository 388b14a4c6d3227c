#pragma once

#include "dialogs/Prompts.h"

class QWidget;

// Message and input boxes as real Qt dialogs, owned by the active window.
class QtPrompts : public Prompts {
public:
    Answer message(const QString& text, const QString& title, Buttons buttons,
                   Icon icon) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& proposal) override;
    void setBusy(bool busy) override;
    void processEvents() override;

private:
    int busyDepth_ = 0;
};

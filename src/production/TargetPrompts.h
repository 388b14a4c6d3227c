#pragma once

#include "dialogs/Prompts.h"

#include <QString>

// How a command line answers a question nobody is there to read: --yes answers Yes/OK,
// otherwise No/Cancel; Retry never comes (nobody can put things right before it).
Prompts::Answer UnattendedAnswer(Prompts::Buttons buttons, bool yes);

// The prompts of one target of a production line: nothing is printed (the targets' lines
// would tear apart); questions are answered as --yes says. A failure's cause comes from the
// core's outcome, never from what was shown.
class TargetPrompts : public Prompts {
public:
    explicit TargetPrompts(bool yes) : yes_(yes) {}
    Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& proposal) override;
    void setBusy(bool) override {}
    // A target's job runs on a thread of its own with no window to repaint.
    void processEvents() override {}

private:
    bool yes_;
};

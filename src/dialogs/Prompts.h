#pragma once

#include <QString>

#include <optional>

// The message and input boxes every window uses. The gui answers with real dialogs; the
// tests answer from a script and fail on any message nobody expected.
class Prompts {
public:
    enum class Buttons {
        Ok,
        OkCancel,
        YesNo,
        YesNoCancel,
        RetryCancel,
        // The same buttons with the safe answer as the default, for questions whose Yes (or
        // OK) destroys work: Enter alone never erases anything.
        OkCancelDefaultCancel,
        YesNoDefaultNo,
        YesNoCancelDefaultNo,
    };
    enum class Icon { None, Information, Warning, Critical, Question };
    enum class Answer { Ok, Cancel, Yes, No, Retry };

    virtual ~Prompts() = default;

    virtual Answer message(const QString& text, const QString& title, Buttons buttons,
                           Icon icon) = 0;
    // The text typed, or nothing when the operator cancelled.
    virtual std::optional<QString> input(const QString& prompt, const QString& title,
                                         const QString& proposal) = 0;
    // Shows or clears the busy pointer while a long operation runs.
    virtual void setBusy(bool busy) = 0;
    // Lets pending window events run (repaints, the Exit button of a transfer).
    virtual void processEvents() = 0;

    // The buttons shown, whichever is the default.
    static Buttons Shown(Buttons buttons) {
        switch (buttons) {
        case Buttons::OkCancelDefaultCancel:
            return Buttons::OkCancel;
        case Buttons::YesNoDefaultNo:
            return Buttons::YesNo;
        case Buttons::YesNoCancelDefaultNo:
            return Buttons::YesNoCancel;
        default:
            return buttons;
        }
    }
};

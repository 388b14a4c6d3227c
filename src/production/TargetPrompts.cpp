#include "production/TargetPrompts.h"

Prompts::Answer UnattendedAnswer(Prompts::Buttons buttons, bool yes) {
    switch (Prompts::Shown(buttons)) {
    case Prompts::Buttons::Ok:
        return Prompts::Answer::Ok;
    case Prompts::Buttons::OkCancel:
        return yes ? Prompts::Answer::Ok : Prompts::Answer::Cancel;
    case Prompts::Buttons::YesNo:
    case Prompts::Buttons::YesNoCancel:
        return yes ? Prompts::Answer::Yes : Prompts::Answer::No;
    default:
        // Nobody is there to put things right before a retry.
        break;
    }
    return Prompts::Answer::Cancel;
}

Prompts::Answer TargetPrompts::message(const QString&, const QString&, Buttons buttons, Icon) {
    return UnattendedAnswer(buttons, yes_);
}

std::optional<QString> TargetPrompts::input(const QString& prompt, const QString& title,
                                            const QString& proposal) {
    message(prompt, title, Buttons::Ok, Icon::None);
    if (yes_)
        return proposal;
    return std::nullopt;
}

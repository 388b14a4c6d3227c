#pragma once

#include "dialogs/Prompts.h"

#include <QList>
#include <QString>

#include <deque>

// Prompts answered from a script. A message nobody expected, or an expected one that never
// showed, fails the running test, so a message that appears or disappears is always noticed.
class FakePrompts : public Prompts {
public:
    struct Shown {
        QString text;
        QString title;
        Buttons buttons;
        Icon icon;
    };

    ~FakePrompts() override;

    // The next message must have exactly this text; it is answered with answer.
    void expectMessage(const QString& text, Answer answer = Answer::Ok);
    // The next message must contain fragment.
    void expectMessageContaining(const QString& fragment, Answer answer = Answer::Ok);
    // The next input box must have a prompt containing fragment; nothing means Cancel.
    void expectInput(const QString& fragment, std::optional<QString> answer);
    // Any message at all is answered with answer and recorded, without expectations.
    void setLenient(bool lenient, Answer answer = Answer::Ok);

    Answer message(const QString& text, const QString& title, Buttons buttons, Icon icon) override;
    std::optional<QString> input(const QString& prompt, const QString& title,
                                 const QString& proposal) override;
    void setBusy(bool busy) override;
    void processEvents() override;

    // Everything shown so far, in order.
    const QList<Shown>& messages() const { return messages_; }
    const QStringList& inputPrompts() const { return inputPrompts_; }
    const QStringList& inputProposals() const { return inputProposals_; }
    // True when every expected prompt was shown and nothing unexpected came.
    bool allShown() const { return expected_.empty() && unexpected_.isEmpty(); }
    QString problems() const;
    int busyDepth() const { return busy_; }
    int processEventsCalls() const { return processEventsCalls_; }

private:
    struct Expected {
        bool isInput = false;
        bool exact = true;
        QString text;
        Answer answer = Answer::Ok;
        std::optional<QString> inputAnswer;
    };
    std::deque<Expected> expected_;
    QList<Shown> messages_;
    QStringList inputPrompts_;
    QStringList inputProposals_;
    QStringList unexpected_;
    bool lenient_ = false;
    Answer lenientAnswer_ = Answer::Ok;
    int busy_ = 0;
    int processEventsCalls_ = 0;
};

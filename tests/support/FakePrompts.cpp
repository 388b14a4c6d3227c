#include "support/FakePrompts.h"

#include <QTest>

FakePrompts::~FakePrompts() {
    if (!expected_.empty() && !lenient_) {
        const QByteArray what = ("expected prompt never shown: " + expected_.front().text).toUtf8();
        QTest::qFail(what.constData(), __FILE__, __LINE__);
    }
}

void FakePrompts::expectMessage(const QString& text, Answer answer) {
    expected_.push_back({false, true, text, answer, std::nullopt});
}

void FakePrompts::expectMessageContaining(const QString& fragment, Answer answer) {
    expected_.push_back({false, false, fragment, answer, std::nullopt});
}

void FakePrompts::expectInput(const QString& fragment, std::optional<QString> answer) {
    expected_.push_back({true, false, fragment, Answer::Ok, std::move(answer)});
}

void FakePrompts::setLenient(bool lenient, Answer answer) {
    lenient_ = lenient;
    lenientAnswer_ = answer;
}

Prompts::Answer FakePrompts::message(const QString& text, const QString& title, Buttons buttons,
                                     Icon icon) {
    messages_.append({text, title, buttons, icon});
    if (!expected_.empty() && !expected_.front().isInput) {
        const Expected e = expected_.front();
        if (e.exact ? text == e.text : text.contains(e.text)) {
            expected_.pop_front();
            return e.answer;
        }
    }
    if (lenient_)
        return lenientAnswer_;
    unexpected_.append(QStringLiteral("message: ") + text);
    const QByteArray what = ("unexpected message: " + text).toUtf8();
    QTest::qFail(what.constData(), __FILE__, __LINE__);
    return Prompts::Shown(buttons) == Buttons::YesNo ||
                   Prompts::Shown(buttons) == Buttons::YesNoCancel
               ? Answer::No
               : Answer::Cancel;
}

std::optional<QString> FakePrompts::input(const QString& prompt, const QString& title,
                                          const QString& proposal) {
    Q_UNUSED(title);
    inputPrompts_.append(prompt);
    inputProposals_.append(proposal);
    if (!expected_.empty() && expected_.front().isInput &&
        prompt.contains(expected_.front().text)) {
        const Expected e = expected_.front();
        expected_.pop_front();
        return e.inputAnswer;
    }
    unexpected_.append(QStringLiteral("input: ") + prompt);
    const QByteArray what = ("unexpected input box: " + prompt).toUtf8();
    QTest::qFail(what.constData(), __FILE__, __LINE__);
    return std::nullopt;
}

void FakePrompts::setBusy(bool busy) {
    busy_ += busy ? 1 : -1;
}

void FakePrompts::processEvents() {
    ++processEventsCalls_;
}

QString FakePrompts::problems() const {
    QStringList lines = unexpected_;
    for (const Expected& e : expected_)
        lines.append(QStringLiteral("never shown: ") + e.text);
    return lines.join(QLatin1Char('\n'));
}

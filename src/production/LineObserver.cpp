#include "production/LineObserver.h"
#include "model/LanguageTexts.h"

void LineObserver::phaseBegun(Phase phase) {
    phase_ = phase;
    if (echo_)
        echo_->phaseBegun(phase);
    switch (phase) {
    case Phase::Checking:
        context_.setStage(texts_.Text(538));
        break;
    case Phase::Connecting:
        context_.setStage(texts_.Text(537));
        break;
    case Phase::Erasing:
        context_.setStage(texts_.Text(539));
        break;
    case Phase::Transmitting:
    case Phase::Receiving:
        // A transfer's stage changes with its first format.
        if (counting_ == Counting::Lines)
            context_.setStage(total_ > 0 ? texts_.Text(541).arg(0).arg(total_) : QString(), 0);
        break;
    }
}

void LineObserver::counted(const Counters& c) {
    if (echo_)
        echo_->counted(c);
    if (phase_ != Phase::Transmitting && phase_ != Phase::Receiving)
        return;
    if (counting_ == Counting::Formats)
        context_.setStage(texts_.Text(540).arg(c.format).arg(total_), c.percent);
    else
        context_.setStage(total_ > 0 ? texts_.Text(541).arg(c.line).arg(total_)
                                     : texts_.Text(542).arg(c.line),
                          c.percent);
}

void LineObserver::refused(const Refusal& refusal) {
    refusal_ = refusal;
    if (echo_)
        echo_->refused(refusal);
}

void LineObserver::done() {
    done_ = true;
    if (echo_)
        echo_->done();
}

void LineObserver::workingFile(const QString& path, qint64 size) {
    if (echo_)
        echo_->workingFile(path, size);
}

void LineObserver::firmwareTag(const QByteArray& tag) {
    if (echo_)
        echo_->firmwareTag(tag);
}

void LineObserver::readyLine(bool ready) {
    if (echo_)
        echo_->readyLine(ready);
}

void LineObserver::erased() {
    if (echo_)
        echo_->erased();
}

TargetEnd LineObserver::end() const {
    if (done_)
        return {TargetStatus::Result::Ok, QString()};
    if (!refusal_)
        return {TargetStatus::Result::Failed, QString()};
    if (refusal_->cause == Refusal::Cause::Stopped)
        return {TargetStatus::Result::Stopped, texts_.Text(526)};
    if (refusal_->cause == Refusal::Cause::Declined)
        return {TargetStatus::Result::Failed, NotConfirmedCause(texts_)};
    const QString text = refusal_->text(texts_);
    QString cause = text.simplified();
    if (!refusal_->detail.isEmpty() && refusal_->detail != text)
        cause += QStringLiteral(": ") + refusal_->detail;
    return {TargetStatus::Result::Failed, cause};
}

QString NotConfirmedCause(const LanguageTexts& texts) {
    return texts.Text(530).arg(texts.Text(240));
}

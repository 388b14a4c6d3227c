#include "support/FakeController.h"

#include <algorithm>

FakeController& FakeController::when(const QByteArray& trigger, const Reply& reply, int times) {
    rules_.append(Rule{trigger, false, reply, times});
    return *this;
}

FakeController& FakeController::whenFrame(const Reply& reply, int times) {
    rules_.append(Rule{QByteArray(), true, reply, times});
    return *this;
}

FakeController& FakeController::onWrite(Handler handler) {
    handlers_.append(std::move(handler));
    return *this;
}

void FakeController::queue(const Reply& reply) {
    // Later replies never overtake earlier ones still on their way.
    int64_t at = clock_.nowMs() + reply.delayMs;
    if (!incoming_.empty())
        at = std::max(at, incoming_.back().at);
    const int pieces = std::max(1, std::min<int>(reply.pieces, int(reply.bytes.size())));
    const qsizetype size = reply.bytes.size();
    for (qsizetype i = 0; i < size; ++i) {
        // Piece k starts at byte k*size/pieces and waits pauseMs after the previous one.
        const qsizetype piece = i * pieces / std::max<qsizetype>(size, 1);
        const qsizetype previousPiece = i == 0 ? piece : (i - 1) * pieces / size;
        if (i > 0 && piece != previousPiece)
            at += reply.pauseMs;
        incoming_.push_back({at, static_cast<uint8_t>(reply.bytes.at(i))});
    }
}

SerialLine::Opened FakeController::open(const QString& device, QString* errorText) {
    if (!openError_.isEmpty() && (failingDevice_.isEmpty() || failingDevice_ == device)) {
        if (errorText)
            *errorText = openError_;
        return openFailure_;
    }
    device_ = device;
    open_ = true;
    ++opens_;
    return Opened::Yes;
}

void FakeController::close() {
    if (open_)
        ++closes_;
    open_ = false;
}

bool FakeController::setBaudRate(int baud) {
    if (refuseBaud_)
        return false;
    baud_ = baud;
    return true;
}

int FakeController::bytesWaiting() {
    const int64_t now = clock_.nowMs();
    return int(std::count_if(incoming_.begin(), incoming_.end(),
                             [now](const Timed& t) { return t.at <= now; }));
}

std::optional<uint8_t> FakeController::readByte(int timeoutMs) {
    if (!open_) {
        clock_.advance(std::max(0, timeoutMs));
        return std::nullopt;
    }
    if (!brokenCause().isEmpty())
        return std::nullopt;
    int64_t limit = clock_.nowMs() + std::max(0, timeoutMs);
    // A hang-up due while nothing more is on its way ends the wait when it comes.
    if (!hangUpCause_.isEmpty() && incoming_.empty() && hangUpAtMs_ < limit)
        limit = std::max(clock_.nowMs(), hangUpAtMs_);
    if (incoming_.empty() || incoming_.front().at > limit) {
        clock_.advance(limit - clock_.nowMs());
        return std::nullopt;
    }
    const Timed next = incoming_.front();
    incoming_.pop_front();
    if (next.at > clock_.nowMs())
        clock_.advance(next.at - clock_.nowMs());
    return next.byte;
}

bool FakeController::write(const QByteArray& bytes) {
    if (!open_)
        return false;
    received_.append(bytes);
    writes_.append(bytes);
    unmatched_.append(bytes);
    for (const Handler& handler : std::as_const(handlers_))
        handler(bytes, *this);
    matchRules();
    return true;
}

void FakeController::matchRules() {
    for (bool matched = true; matched && !unmatched_.isEmpty();) {
        matched = false;
        for (Rule& rule : rules_) {
            if (rule.times == 0)
                continue;
            qsizetype end = -1;
            if (rule.frame) {
                const qsizetype stx = unmatched_.indexOf('\x02');
                const qsizetype etx = stx < 0 ? -1 : unmatched_.indexOf('\x03', stx);
                if (etx >= 0 && etx + 1 < unmatched_.size())
                    end = etx + 2;
            } else if (!rule.trigger.isEmpty()) {
                const qsizetype at = unmatched_.indexOf(rule.trigger);
                if (at >= 0)
                    end = at + rule.trigger.size();
            }
            if (end < 0)
                continue;
            unmatched_.remove(0, end);
            if (rule.times > 0)
                --rule.times;
            queue(rule.reply);
            matched = true;
            break;
        }
    }
}

void FakeController::clearInput() {
    const int64_t now = clock_.nowMs();
    while (!incoming_.empty() && incoming_.front().at <= now)
        incoming_.pop_front();
}

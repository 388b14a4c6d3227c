#include "production/LineRun.h"

#include "model/LanguageTexts.h"

#include <QThread>

#include <chrono>
#include <exception>
#include <vector>

class LineRun::Context : public TargetContext {
public:
    Context(LineRun& run, int index, LineTarget target)
        : run_(run), index_(index), target_(std::move(target)) {}
    const LineTarget& target() const override { return target_; }
    void setType(const QString& designation) override {
        run_.update(index_, [&](TargetStatus& s) { s.type = designation; });
    }
    void setStage(const QString& stage, int percent) override {
        run_.update(index_, [&](TargetStatus& s) {
            s.stage = stage;
            s.percent = percent;
        });
    }
    bool stopRequested() const override { return run_.stop_; }

private:
    LineRun& run_;
    int index_;
    LineTarget target_;
};

LineRun::LineRun(const LanguageTexts& texts, QList<LineTarget> targets, TargetJob job)
    : job_(std::move(job)), texts_(texts) {
    for (const LineTarget& target : targets) {
        TargetStatus status;
        status.target = target;
        statuses_.append(status);
    }
}

LineRun::~LineRun() = default;

void LineRun::update(int index, const std::function<void(TargetStatus&)>& change) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        change(statuses_[index]);
        dirty_ = true;
    }
}

void LineRun::requestStop() {
    stop_ = true;
}

QList<TargetStatus> LineRun::statuses() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return statuses_;
}

void LineRun::runJob(int index) {
    const auto started = std::chrono::steady_clock::now();
    const auto seconds = [&] {
        return std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    };
    LineTarget target;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        target = statuses_[index].target;
    }
    TargetEnd end;
    if (stop_) {
        end = {TargetStatus::Result::Stopped, texts_.Text(529)};
    } else {
        update(index, [](TargetStatus& s) { s.result = TargetStatus::Result::Running; });
        Context context(*this, index, target);
        try {
            end = job_(context);
        } catch (const std::exception& e) {
            end = {TargetStatus::Result::Failed,
                   texts_.Text(534) + QString::fromLocal8Bit(e.what())};
        }
        // A job that gave up because it was told to stop did not fail on its own.
        if (stop_ && end.result == TargetStatus::Result::Failed)
            end.result = TargetStatus::Result::Stopped;
    }
    if (end.result != TargetStatus::Result::Ok && end.cause.isEmpty())
        end.cause =
            end.result == TargetStatus::Result::Stopped ? texts_.Text(526) : texts_.Text(535);
    const double took = seconds();
    {
        std::lock_guard<std::mutex> lock(mutex_);
        TargetStatus& s = statuses_[index];
        s.result = end.result;
        s.cause = end.result == TargetStatus::Result::Ok ? QString() : end.cause;
        s.seconds = took;
        dirty_ = true;
        --running_;
    }
    changed_.notify_all();
}

void LineRun::run(const std::function<void(const QList<TargetStatus>&)>& show,
                  const std::function<bool()>& stopAsked, int refreshMs) {
    // QThreads, not bare threads: a serial port opened in a job needs the event dispatcher
    // a QThread brings, even though every wait on it blocks.
    std::vector<std::unique_ptr<QThread>> threads;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        running_ = int(statuses_.size());
        dirty_ = true;
    }
    for (int k = 0; k < int(statuses_.size()); ++k)
        threads.emplace_back(QThread::create([this, k] { runJob(k); }));
    for (const auto& thread : threads)
        thread->start();

    const auto slice = std::chrono::milliseconds(refreshMs > 0 ? refreshMs : 100);
    std::unique_lock<std::mutex> lock(mutex_);
    while (running_ > 0) {
        // Wakes once a slice (Ctrl+C is only seen by asking), or when the last job ended;
        // what changed within a slice is shown once.
        changed_.wait_for(lock, slice, [&] { return running_ == 0; });
        if (stopAsked && !stop_ && stopAsked())
            stop_ = true;
        if (dirty_ && running_ > 0) {
            dirty_ = false;
            const QList<TargetStatus> snapshot = statuses_;
            lock.unlock();
            if (show)
                show(snapshot);
            lock.lock();
        }
    }
    const QList<TargetStatus> last = statuses_;
    lock.unlock();
    for (const auto& thread : threads)
        thread->wait();
    if (show)
        show(last);
}

#pragma once

#include "production/LineTargets.h"

#include <QList>
#include <QString>

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>

class LanguageTexts;

// Where one target of a production line stands, as its progress line and the summary show it.
struct TargetStatus {
    enum class Result {
        Waiting,   // not started yet
        Running,   // its job runs
        Ok,        // done as asked
        Failed,    // ended with a cause
        Different, // verify: the controller holds another program
        Stopped,   // Ctrl+C stopped it
    };
    LineTarget target;
    QString type;     // the controller's designation once identified ("C24-28")
    QString stage;    // "identify", "format 12/28", "line 120/514"
    int percent = -1; // of the whole job, or -1
    Result result = Result::Waiting;
    QString cause; // why it failed or was stopped
    double seconds = 0;

    bool finished() const { return result != Result::Waiting && result != Result::Running; }
};

// What a job tells the line while it runs on its thread, and how it learns it should stop.
class TargetContext {
public:
    virtual ~TargetContext() = default;
    virtual const LineTarget& target() const = 0;
    virtual void setType(const QString& designation) = 0;
    virtual void setStage(const QString& stage, int percent = -1) = 0;
    // True once the operator stopped the line: the job ends at its next safe point.
    virtual bool stopRequested() const = 0;
};

// How a job ended: Ok, Failed, Different or Stopped, with the cause of anything but Ok.
struct TargetEnd {
    TargetStatus::Result result = TargetStatus::Result::Failed;
    QString cause;
};

// One target's work. It runs on a thread of its own with a line of its own: it must not
// touch anything another job touches.
using TargetJob = std::function<TargetEnd(TargetContext& context)>;

// Runs one job per target, all at once, each on its own thread, and gathers how each ended.
// A target that fails, hangs up or stays silent ends alone; no target waits for another.
class LineRun {
public:
    // texts word the causes the line gives itself (stopped before it began, ...); they must
    // outlive the run.
    LineRun(const LanguageTexts& texts, QList<LineTarget> targets, TargetJob job);
    ~LineRun();
    LineRun(const LineRun&) = delete;
    LineRun& operator=(const LineRun&) = delete;

    // Runs every job and returns when all have ended. On the calling thread, show gets the
    // statuses whenever one changed (at most every refreshMs) and once more at the end, and
    // stopAsked (Ctrl+C) is asked as often; once it says yes every job is asked to stop.
    void run(const std::function<void(const QList<TargetStatus>&)>& show,
             const std::function<bool()>& stopAsked, int refreshMs = 100);
    // Asks every job to stop (any thread).
    void requestStop();

    QList<TargetStatus> statuses() const;

private:
    class Context;
    void runJob(int index);
    void update(int index, const std::function<void(TargetStatus&)>& change);

    TargetJob job_;
    const LanguageTexts& texts_;
    mutable std::mutex mutex_;
    std::condition_variable changed_;
    QList<TargetStatus> statuses_; // guarded by mutex_
    bool dirty_ = false;           // guarded by mutex_
    int running_ = 0;              // guarded by mutex_
    std::atomic<bool> stop_{false};
};

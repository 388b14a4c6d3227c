#pragma once

#include "support/FakeController.h"

#include <QByteArray>
#include <QList>

#include <functional>

// The controller's loader on a FakeController: it answers "?T93" CR with its type, takes
// ":FUD5" CR as the start of an update (an ENQ first when told so), sends its erase
// progress and ACK, then answers every record line it receives as the script says.
struct FlashControllerScript {
    // Type line answered to "?T".
    QByteArray typeReply = "Q517 TYPE-S24\r";
    // Send ENQ this long after ":FUD5" (before the erase); negative: no ENQ at all.
    int64_t enqAfterMs = -1;
    // The erase: these bytes (the last normally ACK) with these pauses before each.
    QByteArray eraseBytes = QByteArray("..\x06");
    int64_t erasePauseMs = 500;
    // The answer to one record line: by default ACK after 2 ms.
    std::function<FakeController::Reply(int arrival, const QByteArray& line)> answer =
        [](int, const QByteArray&) { return FakeController::bytes(QByteArray(1, '\x06'), 2); };

    // What arrived after ":FUD5": each record line (CR removed) and the speed then.
    QList<QByteArray> records;
    QList<int> recordBauds;
    bool updateStarted = false;

    void install(FakeController& controller) {
        controller.onWrite([this](const QByteArray& written, FakeController& c) {
            pending_ += written;
            for (qsizetype cr = pending_.indexOf('\r'); cr >= 0; cr = pending_.indexOf('\r')) {
                const QByteArray line = pending_.left(cr);
                pending_.remove(0, cr + 1);
                received(line, c);
            }
        });
    }

private:
    void received(const QByteArray& line, FakeController& c) {
        if (!updateStarted && line == "?T93") {
            c.queue(typeReply, 5);
            return;
        }
        if (!updateStarted && line == ":FUD5") {
            updateStarted = true;
            int64_t at = 0;
            if (enqAfterMs >= 0) {
                at = enqAfterMs;
                c.queue(QByteArray(1, '\x05'), at);
            }
            for (char b : eraseBytes) {
                at += erasePauseMs;
                c.queue(QByteArray(1, b), at);
            }
            return;
        }
        if (updateStarted) {
            records.append(line);
            recordBauds.append(c.baudRate());
            c.queue(answer(int(records.size()), line));
        }
    }
    QByteArray pending_;
};

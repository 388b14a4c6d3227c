#pragma once

#include "support/FakeController.h"

#include <QByteArray>
#include <QList>

#include <memory>

// Plays a controller of one type for program transfers on a FakeController: it answers the
// identification, streams the given frames after "?FR" one per ACK, and answers every frame
// sent after "?FW" with ACK (or with what the test scripts instead). The wire forms are
// written out here again on purpose, apart from the program's own codec.
class TransferControllerScript {
public:
    // The block check: exclusive-or of everything after STX through ETX, raised by 32 below 32.
    static QByteArray Frame(const QByteArray& text) {
        QByteArray frame = '\x02' + text + '\x03';
        unsigned check = 0;
        for (qsizetype i = 1; i < frame.size(); ++i)
            check ^= static_cast<unsigned char>(frame.at(i));
        if (check < 32)
            check += 32;
        return frame + char(check);
    }

    // The texts of every frame in bytes written by the program, in order.
    static QList<QByteArray> FrameTexts(const QByteArray& written) {
        QList<QByteArray> texts;
        qsizetype at = 0;
        for (;;) {
            const qsizetype stx = written.indexOf('\x02', at);
            if (stx < 0)
                break;
            const qsizetype etx = written.indexOf('\x03', stx);
            if (etx < 0)
                break;
            texts.append(written.mid(stx + 1, etx - stx - 1));
            at = etx + 2;
        }
        return texts;
    }

    // "?M" reply: the counts at characters 1-2 and 4-5, "ITALY" at 22, then "-" and the
    // nine identification characters.
    static QByteArray IdentReply(int cams, int formats) {
        QByteArray line = QByteArray::number(cams).rightJustified(2, '0') + ' ' +
                          QByteArray::number(formats).rightJustified(2, '0');
        line = line.leftJustified(21, ' ') + "ITALY-ABCDEFGHI";
        return line + '\r';
    }

    TransferControllerScript(FakeController& controller, int cams, int formats)
        : controller_(controller), stream_(std::make_shared<Stream>()) {
        controller.when("?M8C\r", FakeController::bytes(IdentReply(cams, formats)));
        controller.when("?T93\r", FakeController::bytes("AVR_M1280-V2.50\r"));
        auto stream = stream_;
        controller.onWrite([stream](const QByteArray& written, FakeController& c) {
            if (written.contains(QByteArray("?FR\xD7\r"))) {
                stream->started = true;
                stream->next = 0;
            } else if (!(stream->started && written == QByteArray(1, '\x06'))) {
                return;
            }
            if (stream->next >= stream->frames.size() || stream->next >= stream->silentFrom)
                return;
            c.queue(stream->frames.at(stream->next++), stream->gapMs);
        });
    }

    // The frames sent after "?FR"; silentFrom stops the stream before that frame.
    void stream(const QList<QByteArray>& texts, int silentFrom = 1 << 30) {
        QList<QByteArray> frames;
        for (const QByteArray& text : texts)
            frames.append(Frame(text));
        streamFrames(frames, silentFrom);
    }
    // The same with every frame given byte for byte (a wrong block check, say).
    void streamFrames(const QList<QByteArray>& frames, int silentFrom = 1 << 30) {
        stream_->frames = frames;
        stream_->silentFrom = silentFrom;
    }
    // The pause before each frame of the stream.
    void setGap(int64_t ms) { stream_->gapMs = ms; }
    int framesStreamed() const { return stream_->next; }

    // Every frame after "?FW" answered with ACK.
    void acknowledgeFrames() { controller_.whenFrame(FakeController::ack()); }

private:
    struct Stream {
        QList<QByteArray> frames;
        int next = 0;
        int silentFrom = 1 << 30;
        bool started = false;
        int64_t gapMs = 0;
    };
    FakeController& controller_;
    std::shared_ptr<Stream> stream_;
};

#pragma once

#include <QString>

class LanguageTexts;

// What one long operation did (identify, receive, transmit, verify, flash, find a controller,
// read a cam file, print), as a value every face renders the same way: the window's message
// box and status bar, q517-cli, the production line's summary and its report. The cause is
// taken at the moment things went wrong, never read back later from the system.
struct Outcome {
    enum class Result {
        Done,    // everything asked was done
        Refused, // nothing was tried: wrong type, bad file, no port, the operator said no
        Failed,  // it began and broke off
        Stopped, // the operator stopped it
    };
    // What the controller holds once the operation ended.
    enum class Holds {
        Unchanged,         // nothing was written into it
        IncompleteProgram, // a transmission broke off after its first frame
        ProgramOfFile,     // it confirmed every frame of the program sent
        FirmwareUpdated,   // it confirmed the image's last line
        NoFirmware,        // a flash update broke off after the erase
    };

    Result result = Result::Done;
    // The message the operator has always read for it ("COMM ERROR", "TIMEOUT SERIAL PORT ",
    // a language text), unchanged: the first line of every rendering.
    QString message;
    // Where: "COM3 /dev/ttyUSB0", a device path, or "/home/op/PLAN.CAM line 12".
    QString place;
    // Why, in the system's own words: "No such file or directory", "the line hung up".
    QString cause;
    // How far it got: "opening", "identifying", "frame 37 of 912", "erasing", "line 120 of 513".
    QString stage;
    Holds holds = Holds::Unchanged;

    bool done() const { return result == Result::Done; }

    static Outcome Done(Holds holds = Holds::Unchanged);
    static Outcome Refusal(const QString& message, const QString& place = QString(),
                           const QString& cause = QString(), const QString& stage = QString());
    static Outcome Failure(const QString& message, const QString& place, const QString& cause,
                           const QString& stage, Holds holds = Holds::Unchanged);
    static Outcome Stop(const QString& stage, Holds holds = Holds::Unchanged);

    // The second line: "place, stage: cause"; empty when none of them is known.
    QString where() const;
    // One line for a summary, a report or the status bar: "message (where)", either alone
    // when the other is not known.
    QString summary() const;
    // The whole text of a message box: the message, the where and why, and for a controller
    // left with half a program or half a firmware the line that says so (texts 340, 341).
    QString text(const LanguageTexts& texts) const;
};

// "done", "refused", "failed", "stopped": the report's words for a result.
QString OutcomeResultName(Outcome::Result result);

#pragma once

#include <QList>
#include <QString>

#include <functional>

class ControllerLink;

// What one port said when asked for its identity.
struct PortAnswer {
    enum class Kind {
        Controller, // a controller of a known type answered: designation says which
        Unreadable, // "ITALY" came back, but not with one of the six types
        Silent,     // the port opened, but nothing identified itself in time
        NotReady,   // the port opened, but nothing behind it asserts CTS
        Vanished,   // the device is not there (any more)
        InUse,      // another program holds the device
        Failed,     // the device refused to open or to take the speed, or the line broke
    };
    Kind kind = Kind::Silent;
    QString designation; // "C24-28"
    QString cause;       // why, when there is a cause: the system's or the line's own
    QString device;      // where the cause came from
};

class LanguageTexts;

// Asks port n for its identity the way start-up does: opens it through the link, writes
// "?M" once, reads the reply line until 3000 ms of silence, and closes the port again.
// Nothing else is written. betweenSlices runs while waiting (a window repaints).
PortAnswer AskPortForController(ControllerLink& link, int port, int baud,
                                const std::function<void()>& betweenSlices = {});

// "C24-28 answered", "in use by another program (/dev/ttyUSB0: busy)", ...
QString PortAnswerText(const PortAnswer& answer, const LanguageTexts& texts);

// Asks the ports in turn and stops at the first that a controller of a known type answers.
class ControllerSearch {
public:
    struct Observer {
        virtual ~Observer() = default;
        // Before port is asked: the index-th of count (from 1).
        virtual void asking(int port, int index, int count) = 0;
        virtual void answered(int port, const PortAnswer& answer) = 0;
        // While a port is being waited for.
        virtual void waiting() {}
        // Asked before each port: the operator may end the search early.
        virtual bool stopRequested() const { return false; }
    };

    // The link lets go of any port it holds first, so that port can be asked too.
    ControllerSearch(ControllerLink& link, int baud) : link_(link), baud_(baud) {}
    // The port that answered, or 0 when none did or the observer stopped the search.
    int run(const QList<int>& ports, Observer& observer);

private:
    ControllerLink& link_;
    int baud_;
};

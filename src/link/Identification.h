#pragma once

#include "model/Outcome.h"

#include <QByteArray>
#include <QString>

struct LinkContext;

// What the "?M" reply says about the controller: "ITALY" at position p (counted from 1),
// the cam count in the two characters at p-21, the format count in the two at p-18.
struct IdentReplyFields {
    int italyPosition = 0; // 0 when absent
    bool found = false;    // "ITALY" at position 6 or later
    bool camCountRead = false;
    bool formatCountRead = false;
    int camCount = 0;
    int formatCount = 0;
    // The nine characters after the first "Y-", shown in window titles.
    QString identification;
};
IdentReplyFields ParseIdentReply(const QString& reply);

// What the operator is shown of an identified controller: the nine characters at 28 of the
// "?M" reply, and from the "?T" reply the model (eight characters from two before the first
// "-") and the version (five after it). A type line without "-", or none after a silent
// controller, gives empty parts.
struct ControllerTypeParts {
    QString identification;
    QString model;
    QString version;
};
ControllerTypeParts ReadControllerType(const QString& identReply, const QString& typeReply);

enum class IdentifyResult {
    Identified,   // a valid pair is in IdentCamCount/IdentFormatCount, TypeReply asked
    PortNotReady, // text 51, with the port and the OS cause
    NoAnswer,     // "COMM ERROR": the controller stayed silent or the line broke
    NotFound,     // "BAD comm": six replies without "ITALY"; nothing changed
    BadPair,      // "BAD comm": a pair outside the six, or counts outside the line
};

// How an identification ended: the result, and the outcome every face shows (its message
// is the one the operator has always read for the result, its where and why the port and
// the cause taken when it failed). Nothing is shown here.
struct Identification {
    IdentifyResult result = IdentifyResult::PortNotReady;
    Outcome outcome;
    operator IdentifyResult() const { return result; }
};

// Opens the port and asks "?M" (up to six times) and then "?T". The pair read goes to the
// link state only; the caller sizes the program, and only with one of the six pairs.
// The port stays open after a successful identification.
Identification IdentifyController(const LinkContext& context);

// "C24-28": the designation of a controller type in messages and on the command line.
QString ControllerDesignation(int camCount, int formatCount);

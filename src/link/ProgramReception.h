#pragma once

#include "link/TransferOutcome.h"
#include "model/Outcome.h"

#include <QString>

#include <functional>

class CamProgram;
class EditSession;
class ProgressObserver;
struct LinkContext;

// The transfer window's reception: sends "?FR" and writes every frame the controller sends
// into the transfer file, one per line, up to and including "END". progress hears the phase
// (Receiving), each format header as it comes (format, percent, frames and bytes written so
// far), and done at "END" or the refusal. The port is closed at every end. NotStarted when
// nothing came: the port could not be opened ("COMM ERR"), the transfer file could not be
// made, or the controller stayed silent before its first frame.
TransferOutcome RunReception(const LinkContext& context, const CamProgram& program,
                             ProgressObserver& progress);

// The header the controller sends before the frames of a format: "FORMATO N. 03".
QString FormatHeaderText(int format);

enum class TransferFileRead {
    Read,            // the function block and the format sections as far as they came
    NoFunctionBlock, // nothing taken: the program is as it was
    SectionRefused,  // the function block and the sections before the refused one were taken
};

// What reading the transfer file did; for a refused line, the line followed by text 10 and
// where it stands in the file, for the operator.
struct TransferFileReading {
    TransferFileRead status = TransferFileRead::Read;
    Outcome outcome;
    operator TransferFileRead() const { return status; }
};

// Reads the transfer file into the program: the function block, then the format sections
// up to "END" or FormatCount of them. The program is replaced only when the function block
// is there; the formats not received stay cleared. The edit history is the caller's: a
// reception that is kept forgets it, a read-back into a scratch program must not.
TransferFileReading ReadTransferFile(const LinkContext& context, CamProgram& program);

enum class ReceiveSizesResult {
    Received,        // the program now holds what the controller sent
    Cancelled,       // the operator kept the unsaved program
    NotIdentified,   // the port or the controller was not ready
    OtherType,       // designation + text 71: another controller type
    NothingReceived, // the reception never began or was stopped: the program is untouched
    Unusable,        // the data had no function block: the program is untouched
    PartlyRead,      // a refused line: the program holds what came before it
    PutBack,         // the stream broke off and the operator put the program back as it was
};

// The result, and what the operator is to be shown: why NotIdentified or OtherType, the
// refused line of Unusable and PartlyRead (done otherwise: what the reception itself did is
// its observer's, OutcomeRecorder).
struct ReceiveSizesOutcome {
    ReceiveSizesResult result = ReceiveSizesResult::NothingReceived;
    Outcome outcome;
    operator ReceiveSizesResult() const { return result; }
};

// "Receive Sizes": asks before an unsaved program is replaced (text 112, titled title),
// identifies the controller, refuses another type, runs the transfer window (runWindow),
// and reads what came into the program with CurrentFormat 1 and the program unsaved. When
// the stream broke off, the operator chooses between what came (kept unsaved) and the
// program as it was before the reception (the answer unless he says Yes). A program that
// was replaced forgets edit's history.
ReceiveSizesOutcome ReceiveSizes(const LinkContext& context, CamProgram& program, EditSession& edit,
                                 const QString& title,
                                 const std::function<TransferOutcome()>& runWindow);

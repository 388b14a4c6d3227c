#include "model/CamFileReader.h"

#include "model/FileAccess.h"
#include "model/LanguageTexts.h"

using Why = CamReadError::Why;

QString CamReadErrorText(const CamReadError& error, const LanguageTexts& texts) {
    switch (error.Damaged) {
    case CamReadError::Damage::None:
        break;
    case CamReadError::Damage::Phase:
        return texts.Text(380).arg(error.LineNumber).arg(error.Line);
    case CamReadError::Damage::CamNumber:
        return texts.Text(381).arg(error.LineNumber).arg(error.Line);
    }
    return error.Line + texts.Text(10);
}

QString CamReadReason(const CamReadError& error, const LanguageTexts& texts) {
    switch (error.Reasoned) {
    case Why::Other:
        break;
    case Why::CamNumberNotDigits:
        return texts.Text(637);
    case Why::CamNumberOutside:
        return texts.Text(638).arg(error.Detail);
    case Why::PhaseBeforeCam:
        return texts.Text(639);
    case Why::NotAPhase:
        return texts.Text(640);
    case Why::AngleOutside:
        return texts.Text(641);
    case Why::EndsBefore:
        return texts.Text(642).arg(error.Detail);
    case Why::NoKeywordLine:
        return texts.Text(643).arg(error.Detail);
    case Why::SpeedLimitOutside:
        return texts.Text(644);
    case Why::AdvanceWithoutMs:
        return texts.Text(645);
    case Why::AdvanceOutside:
        return texts.Text(646);
    case Why::Empty:
        return texts.Text(647);
    case Why::NoFunctionLine:
        return texts.Text(648);
    case Why::NoSuchType:
        return texts.Text(649);
    case Why::FormatOutside:
        return texts.Text(247).arg(error.Detail);
    case Why::NotAFormatHeader:
        return texts.Text(248);
    }
    return FileAccess::LocalCause(error.Reason, texts);
}

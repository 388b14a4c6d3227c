#include "model/StepName.h"

#include "model/LanguageTexts.h"
#include "model/NumberForms.h"

QString StepName(const StepLabel& step, const LanguageTexts& texts) {
    using NumberForms::ThreeDigits;
    using NumberForms::TwoDigits;
    const QString cam = TwoDigits(step.cam);
    const QString size = TwoDigits(step.format);
    switch (step.kind) {
    case StepLabel::Kind::Phase:
        return texts.Text(402).arg(ThreeDigits(step.first),
                                   ThreeDigits(step.second % CamProgram::Degrees), cam, size);
    case StepLabel::Kind::CopyCam:
        return texts.Text(403).arg(cam, size);
    case StepLabel::Kind::ShiftCam:
        return texts.Text(404).arg(cam, size);
    case StepLabel::Kind::EraseCam:
        return texts.Text(405).arg(cam, size);
    case StepLabel::Kind::CopySize:
        return texts.Text(406).arg(size);
    case StepLabel::Kind::EraseSize:
        return texts.Text(407).arg(size);
    case StepLabel::Kind::ImportSize:
        return texts.Text(408).arg(size);
    case StepLabel::Kind::Functions:
        return texts.Text(409);
    case StepLabel::Kind::CamName:
        return texts.Text(410).arg(cam);
    }
    return QString();
}

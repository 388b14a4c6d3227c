#pragma once

#include "link/ControllerLink.h"
#include "model/LanguageTexts.h"

#include <QString>

class Prompts;

// What an exchange with the controller works with besides the program: the line, the
// operator who is told and asked (in the texts of his language), and the port and speed
// chosen in the options. The caller builds one for each exchange; it owns nothing.
struct LinkContext {
    ControllerLink& link;
    Prompts& prompts;
    const LanguageTexts& texts;
    int portNumber = 1;
    QString baudRate;

    QString Text(int n) const { return texts.Text(n); }
};

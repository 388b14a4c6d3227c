#pragma once

#include <cstdint>

class CamProgram;
class LanguageTexts;
class Prompts;

// The commands that work on the current cam of the current format: copy it onto another
// cam, turn it round the shaft and erase it. They ask through
// prompts, in the operator's texts, and change only the program; the caller redraws what
// they name.
namespace CamOperations {

// What the main window has to draw again after a command.
enum class Redraw { Nothing, CurrentCamRow, WholeFormat };

// Copy Cam: asks for the target cam and copies the current cam's degrees onto it, inside
// the current format. The cam name is not copied and the current cam stays current.
Redraw CopyCam(CamProgram& program, Prompts& prompts, const LanguageTexts& texts);

// Shift Cam: asks for a number of degrees and turns the current cam's pattern towards
// higher angles by that much, wrapping through 360 (negative turns backwards).
Redraw ShiftCam(CamProgram& program, Prompts& prompts, const LanguageTexts& texts);

// Erase Cam: asks Yes/No and on Yes turns every degree of the current cam off.
Redraw EraseCam(CamProgram& program, Prompts& prompts, const LanguageTexts& texts);

// Turns 360 degree states by shift degrees towards higher angles (any whole number; it is
// reduced modulo 360 first).
void ShiftDegrees(uint8_t* degrees, long long shift);

} // namespace CamOperations

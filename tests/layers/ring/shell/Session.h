#include "model/CamProgram.h"

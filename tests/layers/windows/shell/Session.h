// The shell sits on top of the link.
#include "link/ControllerLink.h"

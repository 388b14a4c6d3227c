// The core never includes a window.
#include "link/gui/PortWindow.h"

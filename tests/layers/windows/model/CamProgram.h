// Only app knows every window.
#include "app/AppWindow.h"

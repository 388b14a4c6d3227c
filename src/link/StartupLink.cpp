#include "link/StartupLink.h"

#include "shell/Session.h"

bool StartupIdentify(Session&) {
    // The line protocol fills this in; until then no controller is ever found.
    return false;
}

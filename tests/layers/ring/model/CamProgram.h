// A ring for the check to find: model and shell include each other.
#include "shell/Session.h"

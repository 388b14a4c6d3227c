#pragma once

#include "link/TransferView.h"

struct Session;

// A transfer's progress as lines on standard error: the direction, then one line per format.
TransferView CliTransferView(Session& session);

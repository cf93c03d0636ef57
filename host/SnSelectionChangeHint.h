#pragma once

// Moved: include host/selection/SnSelectionChangeHint.h; this forwarding header goes in the next
// major release.
#include "selection/SnSelectionChangeHint.h"

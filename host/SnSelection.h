#pragma once

// Moved: include host/selection/SnSelection.h; this forwarding header goes in the next major
// release.
#include "selection/SnSelection.h"

#pragma once

// Moved: include host/selection/SnItemBasic.h; this forwarding header goes in the next major
// release.
#include "selection/SnItemBasic.h"

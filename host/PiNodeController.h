#pragma once

// Moved: include host/graph/PiNodeController.h; this forwarding header goes in the next major
// release.
#include "graph/PiNodeController.h"

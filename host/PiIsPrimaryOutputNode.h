#pragma once

// Moved: include host/graph/PiIsPrimaryOutputNode.h; this forwarding header goes in the next major
// release.
#include "graph/PiIsPrimaryOutputNode.h"

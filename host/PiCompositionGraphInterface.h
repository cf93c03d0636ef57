#pragma once

// Moved: include host/graph/PiCompositionGraphInterface.h; this forwarding header goes in the next
// major release.
#include "graph/PiCompositionGraphInterface.h"

#pragma once

// Moved: include host/graph/PiCompositionGraphInterface.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/PiCompositionGraphInterface.h moved to host/graph/PiCompositionGraphInterface.h; the old path goes in version 10.0"
// major release.
#include "graph/PiCompositionGraphInterface.h"

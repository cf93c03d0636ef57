#pragma once

// Moved: include host/graph/PiCompositeInput.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/PiCompositeInput.h moved to host/graph/PiCompositeInput.h; the old path goes in version 10.0"
// release.
#include "graph/PiCompositeInput.h"

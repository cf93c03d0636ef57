#pragma once

// Moved: include host/graph/PiStructuredInput.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/PiStructuredInput.h moved to host/graph/PiStructuredInput.h; the old path goes in version 10.0"
// release.
#include "graph/PiStructuredInput.h"

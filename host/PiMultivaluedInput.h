#pragma once

// Moved: include host/graph/PiMultivaluedInput.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/PiMultivaluedInput.h moved to host/graph/PiMultivaluedInput.h; the old path goes in version 10.0"
// release.
#include "graph/PiMultivaluedInput.h"

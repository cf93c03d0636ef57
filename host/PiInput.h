#pragma once

// Moved: include host/graph/PiInput.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/PiInput.h moved to host/graph/PiInput.h; the old path goes in version 10.0"
#include "graph/PiInput.h"

#pragma once

// Moved: include host/graph/PiPath.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/PiPath.h moved to host/graph/PiPath.h; the old path goes in version 10.0"
#include "graph/PiPath.h"

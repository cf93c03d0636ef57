#pragma once

// Moved: include host/graph/PiGraphObject.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/PiGraphObject.h moved to host/graph/PiGraphObject.h; the old path goes in version 10.0"
#include "graph/PiGraphObject.h"

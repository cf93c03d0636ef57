#pragma once

// Moved: include host/graph/PiGraphSearch.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/PiGraphSearch.h moved to host/graph/PiGraphSearch.h; the old path goes in version 10.0"
#include "graph/PiGraphSearch.h"

#pragma once

// Moved: include host/graph/PiSnItemUtil.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/PiSnItemUtil.h moved to host/graph/PiSnItemUtil.h; the old path goes in version 10.0"
#include "graph/PiSnItemUtil.h"

#pragma once

// Moved: include host/graph/PiSnItem.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/PiSnItem.h moved to host/graph/PiSnItem.h; the old path goes in version 10.0"
#include "graph/PiSnItem.h"

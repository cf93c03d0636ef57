#pragma once

// Moved: include host/graph/PiIsToolNode.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/PiIsToolNode.h moved to host/graph/PiIsToolNode.h; the old path goes in version 10.0"
#include "graph/PiIsToolNode.h"

#pragma once

// Moved: include host/graph/PiTimePath.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/PiTimePath.h moved to host/graph/PiTimePath.h; the old path goes in version 10.0"
#include "graph/PiTimePath.h"

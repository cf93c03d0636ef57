#pragma once

// Moved: include host/graph/PiGraphObjectList.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/PiGraphObjectList.h moved to host/graph/PiGraphObjectList.h; the old path goes in version 10.0"
// release.
#include "graph/PiGraphObjectList.h"

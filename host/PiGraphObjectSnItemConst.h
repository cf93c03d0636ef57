#pragma once

// Moved: include host/graph/PiGraphObjectSnItemConst.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/PiGraphObjectSnItemConst.h moved to host/graph/PiGraphObjectSnItemConst.h; the old path goes in version 10.0"
// major release.
#include "graph/PiGraphObjectSnItemConst.h"

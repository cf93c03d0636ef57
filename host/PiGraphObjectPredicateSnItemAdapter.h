#pragma once

// Moved: include host/graph/PiGraphObjectPredicateSnItemAdapter.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/PiGraphObjectPredicateSnItemAdapter.h moved to host/graph/PiGraphObjectPredicateSnItemAdapter.h; the old path goes in version 10.0"
// the next major release.
#include "graph/PiGraphObjectPredicateSnItemAdapter.h"

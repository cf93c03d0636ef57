#pragma once

// Moved: include host/graph/PiGraphObjectPredicateSnItemAdapter.h; this forwarding header goes in
// the next major release.
#include "graph/PiGraphObjectPredicateSnItemAdapter.h"

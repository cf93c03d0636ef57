#pragma once

// Moved: include host/graph/PiGraphSearch.h; this forwarding header goes in the next major release.
#include "graph/PiGraphSearch.h"

#pragma once

// Moved: include host/graph/PiGraph.h; this forwarding header goes in the next major release.
#include "graph/PiGraph.h"

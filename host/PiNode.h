#pragma once

// Moved: include host/graph/PiNode.h; this forwarding header goes in the next major release.
#include "graph/PiNode.h"

#pragma once

// Moved: include host/graph/PiGraphObject.h; this forwarding header goes in the next major release.
#include "graph/PiGraphObject.h"

#pragma once

// Moved: include host/graph/PiPath.h; this forwarding header goes in the next major release.
#include "graph/PiPath.h"

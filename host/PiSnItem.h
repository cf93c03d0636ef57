#pragma once

// Moved: include host/graph/PiSnItem.h; this forwarding header goes in the next major release.
#include "graph/PiSnItem.h"

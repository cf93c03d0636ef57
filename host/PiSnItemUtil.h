#pragma once

// Moved: include host/graph/PiSnItemUtil.h; this forwarding header goes in the next major release.
#include "graph/PiSnItemUtil.h"

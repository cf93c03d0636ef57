#pragma once

// Moved: include host/graph/PiGraphObjectSnItemConst.h; this forwarding header goes in the next
// major release.
#include "graph/PiGraphObjectSnItemConst.h"

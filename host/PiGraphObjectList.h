#pragma once

// Moved: include host/graph/PiGraphObjectList.h; this forwarding header goes in the next major
// release.
#include "graph/PiGraphObjectList.h"

#pragma once

// Moved: include host/graph/PiStructuredInput.h; this forwarding header goes in the next major
// release.
#include "graph/PiStructuredInput.h"

#pragma once

// Moved: include host/graph/PiCompositeInput.h; this forwarding header goes in the next major
// release.
#include "graph/PiCompositeInput.h"

#pragma once

// Moved: include host/graph/PiMultivaluedInput.h; this forwarding header goes in the next major
// release.
#include "graph/PiMultivaluedInput.h"

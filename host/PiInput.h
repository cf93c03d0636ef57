#pragma once

// Moved: include host/graph/PiInput.h; this forwarding header goes in the next major release.
#include "graph/PiInput.h"

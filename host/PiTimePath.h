#pragma once

// Moved: include host/graph/PiTimePath.h; this forwarding header goes in the next major release.
#include "graph/PiTimePath.h"

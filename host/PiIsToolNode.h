#pragma once

// Moved: include host/graph/PiIsToolNode.h; this forwarding header goes in the next major release.
#include "graph/PiIsToolNode.h"

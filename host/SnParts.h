#pragma once

// Moved: include host/selection/SnParts.h; this forwarding header goes in the next major release.
#include "selection/SnParts.h"

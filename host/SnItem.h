#pragma once

// Moved: include host/selection/SnItem.h; this forwarding header goes in the next major release.
#include "selection/SnItem.h"

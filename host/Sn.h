#pragma once

// Moved: include host/selection/Sn.h; this forwarding header goes in the next major release.
#include "selection/Sn.h"

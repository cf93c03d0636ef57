#pragma once

// Moved: include base/RCSWCount.h; this forwarding header goes in the next major release.
#include "../base/RCSWCount.h"

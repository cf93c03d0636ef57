#pragma once

// Moved: include base/RCSWCount.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/RCSWCount.h moved to base/RCSWCount.h; the old path goes in version 10.0"
#include "../base/RCSWCount.h"

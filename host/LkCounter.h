#pragma once

// Moved: include base/LkCounter.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/LkCounter.h moved to base/LkCounter.h; the old path goes in version 10.0"
#include "../base/LkCounter.h"

#pragma once

// Moved: include foundation/RCSWBase.h; this forwarding header goes in version 10.0.
#pragma GCC warning "host/RCSWBase.h moved to foundation/RCSWBase.h; the old path goes in version 10.0"
#include "../foundation/RCSWBase.h"

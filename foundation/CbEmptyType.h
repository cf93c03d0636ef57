#pragma once

// Moved: include base/CbEmptyType.h; this forwarding header goes in version 10.0.
#pragma GCC warning "foundation/CbEmptyType.h moved to base/CbEmptyType.h; the old path goes in version 10.0"
#include "../base/CbEmptyType.h"

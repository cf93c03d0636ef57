#pragma once

// Moved: include base/CbEmptyType.h; this forwarding header goes in the next major release.
#include "../base/CbEmptyType.h"

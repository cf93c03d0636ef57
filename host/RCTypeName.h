#pragma once

// Moved: include base/RCTypeName.h; this forwarding header goes in the next major release.
#include "../base/RCTypeName.h"

#pragma once

// Gives the foundation class templates default visibility, so that the instantiations a library
// defines explicitly (and declares `extern template` in its headers) are exported from it, while
// every other use stays an inline, hidden instantiation of the user's own.
#define VO_FOUNDATION_API __attribute__((visibility("default")))

#pragma once

// Marks the classes and template instantiations that the base library exports; everything else in
// it is built with hidden visibility.
#define VO_BASE_API __attribute__((visibility("default")))

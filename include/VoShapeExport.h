#pragma once

// Marks the classes and template instantiations that libVoshape exports; everything else in the
// library is built with hidden visibility.
#define VO_SHAPE_API __attribute__((visibility("default")))

#pragma once

// Marks the classes and template instantiations that the host stand-in library exports; everything
// else in it is built with hidden visibility.
#define VO_HOST_API __attribute__((visibility("default")))

#pragma once

#include <cstdlib>
#include <iostream>

// The documentation's examples run as tests: each states what the library must have done, and a
// statement that does not hold ends the program with a message and status 1.
inline void exampleCheck(bool holds, const char *what) {
    if (!holds) {
        std::cerr << "example: expected " << what << "\n";
        std::exit(1);
    }
}

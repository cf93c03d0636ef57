#include "VoShape.h"

#include <iostream>

int main() {
    using namespace Vo;
    if (InInit<VoInit::shape>::getType() == nullptr) {
        return 1;
    }
    std::cout << "consumer linked against the installed libVoshape\n";
    return 0;
}

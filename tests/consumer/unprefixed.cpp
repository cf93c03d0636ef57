// An earlier application's short include form: the imported targets must still serve it, from a
// folder that holds nothing but the library's own headers.
#include "SeShapeSelector.h"
#include "VoShape.h"

#include <iostream>

int main() {
    const Vo::RCShdPtr<Vo::SeShapeSelector> selector = Vo::SeShapeSelector::create();
    selector->setPickingExtremity(1);
    if (selector->getPickingExtremity() != 1 || selector->getNbSelectedShape() != 0) {
        std::cerr << "a new selector does not hold what was set\n";
        return 1;
    }
    std::cout << "short include form compiled and linked\n";
    return 0;
}

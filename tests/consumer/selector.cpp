// An application that uses the shape selector alone: it calls into libVoshape and libVobase and
// nothing of libVohost, and links with --as-needed, so libVohost is no dependency of its own. Only
// libVoshape's run path can find libVohost then, also once the prefix has moved.
#include <VoShape/SeSelectionBatch.h>
#include <VoShape/SeShapeSelector.h>
#include <VoShape/base/RCExInvalidCall.h>
#include <VoShape/foundation/RCShdPtr.h>
#include <VoShape/foundation/Vector.h>

#include <iostream>

int main() {
    const Vo::RCShdPtr<Vo::SeShapeSelector> selector = Vo::SeShapeSelector::create();
    selector->setPickingIndex(3);
    Vo::Vector<int> points;
    selector->getSelectedPoints(points);
    if (selector->getNbSelectedShape() != 0 || selector->getPickingIndex() != 3 || !points.empty()) {
        std::cerr << "a new selector is not empty\n";
        return 1;
    }
    try {
        Vo::SeSelectionBatch batch(selector);
        batch.commit();
        batch.commit();
        std::cerr << "a second commit of a batch did not raise\n";
        return 1;
    } catch (const Vo::RCExInvalidCall &error) {
        std::cout << "expected error: " << error.what() << "\n";
    }
    std::cout << "selector linked against libVoshape and libVobase alone\n";
    return 0;
}

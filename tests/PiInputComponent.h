#pragma once

#include "foundation/Iterator.h"
#include "foundation/RCShdPtr.h"
#include "host/graph/PiCompositeInput.h"
#include "host/graph/PiInput.h"

// The index-th input of a composite element ("x" is 0, "y" is 1 for a curve point), for tests that
// reach into a curve's elements.
inline Vo::RCShdPtr<Vo::PiInput> componentOf(const Vo::RCShdPtr<Vo::PiInput> &element, int index) {
    Vo::Iterator<Vo::RCShdPtr<Vo::PiInput>> inputs =
        Vo::rcDynamicCast<Vo::PiCompositeInput>(element)->getInputs(0);
    for (int i = 0; i < index; ++i) {
        inputs.next();
    }
    return inputs.item();
}

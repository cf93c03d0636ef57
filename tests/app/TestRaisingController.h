#pragma once

#include "TestController.h"

#include "base/RCExUtil.h"

#include <typeinfo>

namespace VoTest {

// A test controller whose findShape raises at a chosen call, as an application failing midway
// would; otherwise it is the plain test controller.
class TestRaisingController : public TestController {
public:
    // The nth findShape call from now raises RCExNullPtr naming `Vo::SeShape*`; 0 never does.
    void raiseAtFindShapeCall(int nth) noexcept { callsToFailure = nth; }

    Vo::RCShdPtr<Vo::SeShape>
    findShape(const Vo::RCShdPtr<Vo::PiGraphObject const> &object) override {
        if (callsToFailure > 0 && --callsToFailure == 0) {
            Vo::RCExUtil::throwExNullPtr(typeid(Vo::SeShape *).name());
        }
        return TestController::findShape(object);
    }

private:
    int callsToFailure = 0;
};

} // namespace VoTest

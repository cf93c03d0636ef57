#pragma once

#include "SeObject.h"

#include "foundation/RCShdPtr.h"
#include "host/graph/PiGraphObject.h"

namespace VoTest {

// An object that owns shapes (the tool node's layer), for the events' owner fields.
class TestOwner : public Vo::SeObject {
public:
    explicit TestOwner(const Vo::RCShdPtr<Vo::PiGraphObject> &object);

    Vo::RCShdPtr<Vo::PiGraphObject> getGraphObject() override { return object; }
    Vo::RCShdPtr<Vo::PiGraphObject const> getGraphObject() const override { return object; }
    Vo::RCWeakPtr<Vo::SeObjectInterface> getObjectInterface() const override { return {}; }

private:
    ~TestOwner() override;

    Vo::RCShdPtr<Vo::PiGraphObject> object;
};

} // namespace VoTest

#pragma once

#include "host/ObHints.h"
#include "host/ObObserver.h"
#include "host/ObSubject.h"
#include "base/RCExUtil.h"
#include "host/selection/Sn.h"
#include "host/selection/SnSelection.h"

#include <typeinfo>

namespace VoTest {

// Counts the notified changes of one selection, that is the writes made to it; on request it
// raises from the next one, as a faulty observer of the application would. Attached to the
// selection's subject from construction on; detaches itself when destroyed.
class TestWriteCounter : public Vo::ObObserver<Vo::Sn> {
public:
    explicit TestWriteCounter(Vo::SnSelection &selection) {
        selection.getSubject().attachObserver(this);
    }

    void update(Vo::ObSubject<Vo::Sn> *, const Vo::ObHints &) override {
        ++writes;
        if (raiseNext) {
            raiseNext = false;
            Vo::RCExUtil::throwExNullPtr(typeid(Vo::SnSelection *).name());
        }
    }

    int getNbWrites() const noexcept { return writes; }
    void reset() noexcept { writes = 0; }
    void raiseAtNextWrite() noexcept { raiseNext = true; }

private:
    int writes = 0;
    bool raiseNext = false;
};

} // namespace VoTest

#pragma once

#include "host/ObHints.h"
#include "host/ObObserver.h"
#include "host/ObSubject.h"
#include "host/selection/Sn.h"
#include "host/selection/SnSelection.h"
#include "host/selection/SnSelectionChangeHint.h"

#include <string>
#include <utility>
#include <vector>

namespace VoTest {

// The size of each change a selection told its observers of: "whole", or "-removed +added at
// position"; what a test reads to know a change was passed on by the items it changed. Attached
// from construction on; detaches itself when destroyed.
class TestSpliceLog : public Vo::ObObserver<Vo::Sn> {
public:
    explicit TestSpliceLog(Vo::SnSelection &watched) { watched.getSubject().attachObserver(this); }

    void update(Vo::ObSubject<Vo::Sn> *, const Vo::ObHints &hints) override {
        for (const Vo::RCShdPtr<Vo::ObHint> &hint : hints.getContainer()) {
            const auto &change = dynamic_cast<const Vo::SnSelectionChangeHint &>(*hint);
            changes.push_back(change.isWhole()
                                  ? "whole"
                                  : "-" + std::to_string(change.getRemovedItems().size()) + " +" +
                                        std::to_string(change.getAddedItems().size()) + " at " +
                                        std::to_string(change.getPosition()));
        }
    }
    // The changes since the last call.
    std::vector<std::string> take() { return std::exchange(changes, {}); }

private:
    std::vector<std::string> changes;
};

} // namespace VoTest

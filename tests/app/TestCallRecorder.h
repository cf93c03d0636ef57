#pragma once

#include "base/CbEmptyType.h"
#include "foundation/CbHandler.h"

#include <string>
#include <utility>
#include <vector>

namespace VoTest {

// A callback without value that writes its label into a log at each call, so that several of them
// sharing one log show which lists ran and in which order. Borrows the log, which must outlive it.
class TestCallRecorder : public Vo::CbHandler<Vo::CbEmptyType> {
public:
    TestCallRecorder(std::string label, std::vector<std::string> &log)
        : label(std::move(label)), log(log) {}

    using Vo::CbHandler<Vo::CbEmptyType>::call;
    void call(const Vo::CbEmptyType &) override { log.push_back(label); }

private:
    std::string label;
    std::vector<std::string> &log;
};

} // namespace VoTest

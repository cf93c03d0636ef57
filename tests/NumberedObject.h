#pragma once

#include "base/LkCounter.h"
#include "base/RCBase.h"

namespace VoTest {

// A counted object that knows its number and counts the live ones, for the tests of lists of
// counted pointers: every object must be held once for each holder, and a removed one must go.
class Numbered : public Vo::RCBase<Vo::LkCounter<int>> {
public:
    Numbered(int value, int &liveCount) : number(value), live(liveCount) { ++live; }
    ~Numbered() override { --live; }
    const int number;

private:
    int &live;
};

} // namespace VoTest

#pragma once

namespace VoTest {

// An application-owned object for the weak-pointer tests: counts the live instances of one test in
// the counter it is given, so that every destruction is seen when it happens.
class LiveObject {
public:
    explicit LiveObject(int &liveCount) : live(liveCount) { ++live; }
    virtual ~LiveObject() { --live; }
    int getLive() const { return live; }

private:
    int &live;
};

// A derived object with a count of its own, so that a release through a base pointer is seen to
// run the whole destructor.
class DerivedLiveObject : public LiveObject {
public:
    DerivedLiveObject(int &liveCount, int &derivedLiveCount)
        : LiveObject(liveCount), derivedLive(derivedLiveCount) {
        ++derivedLive;
    }
    ~DerivedLiveObject() override { --derivedLive; }

private:
    int &derivedLive;
};

} // namespace VoTest

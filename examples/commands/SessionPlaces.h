#pragma once

#include "host/graph/PiInput.h"

#include <string>
#include <unordered_map>

namespace VoSession {

// The places of many inputs read in one pass, each as SessionHostItems::placeOf gives it, with the
// place of every parent input (and of theirs) made once and kept: the two components of a point
// share their element's, and the elements their curve's. Valid while the graph does not change;
// holds plain pointers to the inputs it has seen.
class SessionPlaces {
public:
    // Writes the input's place into `into` (its former contents replaced).
    void placeOf(const Vo::PiInput &input, std::string &into);
    // The place of the input's parent when the input's place is that place, '/' and the input's
    // name (a component of an element, a member of a structured input), else null. Valid until the
    // next call.
    const std::string *parentPlaceOf(const Vo::PiInput &input);

private:
    // A parent input: whether it hangs from its node, and then its place and, for a multi-valued
    // input, the stem of its elements' places.
    struct Known {
        bool reachable = false;
        std::string place;
        std::string stem;
    };

    const Known &known(const Vo::PiInput &input);
    void make(const Vo::PiInput &input, Known &into);
    void makeStem(const Vo::PiInput &input, const Vo::PiInput *parent, Known &into);
    static void appendIndex(int index, std::string &into);

    // The inputs above the parents of the inputs asked for: a curve's, not each element's.
    std::unordered_map<const Vo::PiInput *, Known> inputs;
    // The parent of the last input asked for, kept apart: the components of an element come one
    // after the other, and an element's place is seldom wanted again once they have passed.
    const Vo::PiInput *lastParent = nullptr;
    Known parentKnown;
};

} // namespace VoSession

#pragma once

#include "ModelItem.h"
#include "ModelSelection.h"

#include <cstddef>
#include <string>
#include <vector>

namespace VoFuzz {

// One editor's undo history as plain values: the editor's selection after each recorded change
// (the first is the one the history started from), the place of the current one, and the depth.
// Undo (redo) goes to the nearest earlier (later) state that, with the items of gone shapes left
// out, differs from the selection; a state changing nothing is skipped. Kept states are
// renumbered as the selection is. Owns its states.
class ModelHistory {
public:
    static constexpr std::size_t defaultDepth = 100;

    explicit ModelHistory(ModelItems start) : states{std::move(start)} {}

    // A net change of the selection object: a new state, unless it equals the current one; the
    // redo states go, and the oldest beyond the depth.
    void record(const ModelItems &now) {
        if (now == states[cursor]) {
            return;
        }
        states.erase(states.begin() + static_cast<std::ptrdiff_t>(cursor) + 1, states.end());
        states.push_back(now);
        ++cursor;
        trim();
    }
    // At most `kept` steps: the oldest undo steps go first, then the farthest redo steps.
    void setDepth(std::size_t kept) {
        depth = kept;
        trim();
    }
    // Forgets every step: the selection is the starting state.
    void clear(const ModelItems &now) {
        states = {now};
        cursor = 0;
    }
    // Where undo (back) or redo goes from the selection `now`: false when nowhere; otherwise the
    // state's place and what it restores.
    bool target(const ModelItems &now, bool back, const ModelSelection::IsGone &isGone,
                std::size_t &place, ModelItems &restored) const {
        for (place = cursor; back ? place > 0 : place + 1 < states.size();) {
            place = back ? place - 1 : place + 1;
            restored = ModelSelection::withoutGone(states[place], isGone);
            if (restored != now) {
                return true;
            }
        }
        return false;
    }
    // The state restored is the one kept there from then on: gone shapes never come back.
    void moveTo(std::size_t place, const ModelItems &restored) {
        cursor = place;
        states[place] = restored;
    }
    void renumber(const std::string &shape, bool pointSide, int at, bool added) {
        for (ModelItems &state : states) {
            state = ModelSelection::renumber(state, shape, pointSide, at, added);
        }
    }

    // "[] [A] *[B]": the states, the current one starred; for traces.
    std::string text() const {
        std::string out;
        for (std::size_t place = 0; place < states.size(); ++place) {
            out += (place == 0 ? "" : " ") + std::string(place == cursor ? "*" : "") + "[";
            for (std::size_t at = 0; at < states[place].size(); ++at) {
                out += (at == 0 ? "" : ", ") + states[place][at].text();
            }
            out += "]";
        }
        return out;
    }
    int undoSteps() const { return static_cast<int>(cursor); }
    int redoSteps() const { return static_cast<int>(states.size() - 1 - cursor); }
    // The state the selection was restored or recorded as; it may hold shapes gone since.
    const ModelItems &current() const { return states[cursor]; }

private:
    void trim() {
        while (states.size() - 1 > depth) {
            if (cursor > 0) {
                states.erase(states.begin());
                --cursor;
            } else {
                states.pop_back();
            }
        }
    }

    std::vector<ModelItems> states;
    std::size_t cursor = 0;
    std::size_t depth = defaultDepth;
};

} // namespace VoFuzz

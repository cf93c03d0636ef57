#pragma once

#include "FuzzByteReader.h"
#include "ModelItem.h"
#include "ReferenceModel.h"
#include "SelectionScene.h"

#include "SeExMissingElement.h"
#include "SeShapeSelector.h"

#include "base/RCExInvalidCall.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <functional>
#include <string>
#include <typeinfo>
#include <vector>

namespace VoFuzz {

// One step of the selection fuzzer: the scene, the input it reads its arguments from, the editor
// it acts on, the outcome the model expects, the error the library raised, and the operation as
// text for traces and reports. Borrows the scene and the input.
class SelectionStep {
public:
    using Error = ReferenceModel::Error;

    SelectionStep(SelectionScene &scene, FuzzByteReader &in, int e)
        : scene(scene), in(in), e(e), text("editor " + std::to_string(e) + ": ") {
        expected.callbacks.resize(SelectionScene::kEditors);
    }

    ReferenceModel &model() { return scene.model; }
    Vo::SeShapeSelector &selector() { return scene.selector(e); }
    void say(const std::string &what, const std::vector<int> &numbers = {}) {
        text += what;
        for (int number : numbers) {
            text += " " + std::to_string(number);
        }
    }

    // Stops the run with both states printed.
    [[noreturn]] void fail(const std::string &what) const {
        std::fprintf(stderr, "selection model broken at \"%s\": %s\n", text.c_str(), what.c_str());
        for (int each = 0; each < SelectionScene::kEditors; ++each) {
            std::fprintf(
                stderr, "  editor %d: library %s, model %s\n", each,
                textOf(SelectionScene::describe(*scene.selector(each).getSelection())).c_str(),
                textOf(scene.model.editor(each).items).c_str());
        }
        std::fprintf(stderr, "  host: library {%s}\n        model   {%s}\n",
                     join(SelectionScene::describeHost(*scene.host), ", ").c_str(),
                     join(textsOf(scene.model.getHost()), ", ").c_str());
        std::abort();
    }
    void check(bool holds, const std::string &what) const {
        if (!holds) {
            fail(what);
        }
    }
    // Runs the library's side, keeping the error it raised as the model names errors; any other
    // error is a finding.
    template <class Run> void runLibrary(Run run) {
        try {
            run();
        } catch (const Vo::SeExMissingElement &) {
            raised = Error::missingElement;
        } catch (const Vo::RCExInvalidCall &) {
            raised = Error::invalidCall;
        } catch (const std::exception &error) {
            fail(std::string("raised ") + typeid(error).name() + ": " + error.what());
        }
    }
    // A selector operation of the step's editor: the model's side, then the library's.
    void runSelector(const ReferenceModel::Operation &modelSide,
                     const std::function<void(Vo::SeShapeSelector &)> &librarySide) {
        expected = model().change(e, modelSide);
        runLibrary([&] { librarySide(selector()); });
    }
    // A live shape of the layer (-1: of every layer) chosen by the next byte; empty when none.
    std::string pickShape(int layer) {
        const std::vector<std::string> names = model().getShapes().live(layer);
        const std::uint8_t byte = in.next();
        return names.empty() ? std::string() : names[byte % names.size()];
    }
    // Up to `most` indices below `bound`.
    std::vector<int> drawIndices(int most, int bound) {
        std::vector<int> indices(static_cast<std::size_t>(in.next() % (most + 1)));
        for (int &index : indices) {
            index = in.next() % bound;
        }
        return indices;
    }

    static std::string join(const std::vector<std::string> &texts, const char *separator) {
        std::string joined;
        for (const std::string &each : texts) {
            joined += (joined.empty() ? "" : separator) + each;
        }
        return joined;
    }
    static std::string textOf(const ModelItems &items) {
        std::vector<std::string> texts;
        for (const ModelItem &item : items) {
            texts.push_back(item.text());
        }
        return "[" + join(texts, ", ") + "]";
    }
    static std::vector<std::string> textsOf(const ReferenceModel::HostItems &items) {
        std::vector<std::string> texts;
        for (const ModelHostItem &item : items) {
            texts.push_back(item.text());
        }
        return texts;
    }

    SelectionScene &scene;
    FuzzByteReader &in;
    const int e;
    ReferenceModel::Outcome expected;
    Error raised = Error::none;
    std::string text;
};

// The selector's operations (SelectorSteps.cpp): whole shapes, setShapeParts, replaceAllItems,
// points and handles of the primary shape; `kind` picks one, arguments come from the input.
void runShapeStep(SelectionStep &step, int kind);
void runShapePartsStep(SelectionStep &step);
void runReplaceAllStep(SelectionStep &step);
void runPartsStep(SelectionStep &step, bool points);

} // namespace VoFuzz

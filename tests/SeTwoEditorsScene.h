#pragma once

#include "SeSelectorUpdater.h"
#include "SeSelectorUpdaterScene.h"
#include "SeShapeItem.h"
#include "SeShapeParts.h"
#include "SeShapeSelector.h"
#include "app/TestCallRecorder.h"
#include "app/TestController.h"
#include "app/TestWriteCounter.h"

#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakAccessor.h"
#include "foundation/Vector.h"
#include "host/graph/PiGraphObjectSnItemConst.h"
#include "host/selection/SnItem.h"
#include "host/selection/SnSelection.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace VoTest {

// Two layers of one graph, each with its own editor (controller, selector, updater with the test of
// its own layer's objects, and a recorder on each of the three callback lists, writing
// "<layer>:<list>" into one log), sharing the application's selection. Layer "L" has shapes A1..A4
// (4 points, 2 handles each), layer "M" has B1..B3 (4 points each). Shapes and items are described
// by name.
class SeTwoEditorsScene : public ::testing::Test {
protected:
    // One layer's editor. The updater goes first when the editor is destroyed: it borrows the
    // controller.
    struct Editor {
        Editor(TestController &layer, const std::string &name, std::vector<std::string> &log)
            : controller(layer), selector(layer.getShapeSelector()),
              primary(name + ":primary", log), shapes(name + ":shapes", log),
              selection(name + ":selection", log),
              updater(new Vo::SeSelectorUpdater(
                  layer, Vo::SeSelectorUpdater::graphObjectsOf(layer.toolNode()))) {
            selector->addPrimarySelectionChangedCallback(&primary);
            selector->addShapeSelectionChangedCallback(&shapes);
            selector->addSelectionChangedCallback(&selection);
        }
        ~Editor() { updater = Vo::RCShdPtr<Vo::SeSelectorUpdater>(); }

        // The selected shapes' names, in order, with their selected points as "A1[2 0]".
        std::vector<std::string> held() const {
            std::vector<std::string> names;
            for (const Vo::RCShdPtr<Vo::SnItem const> &item : *selector->getSelection()) {
                names.push_back(describeShape(*item));
            }
            return names;
        }
        Vo::RCShdPtr<Vo::SeShape> shape(int index) const { return controller.shape(index); }

        TestController &controller;
        Vo::RCShdPtr<Vo::SeShapeSelector> selector;
        TestCallRecorder primary;
        TestCallRecorder shapes;
        TestCallRecorder selection;
        Vo::RCShdPtr<Vo::SeSelectorUpdater> updater;
    };

    SeTwoEditorsScene() {
        for (const char *name : {"A1", "A2", "A3", "A4"}) {
            first.addShape(name, 4, 2);
        }
        for (const char *name : {"B1", "B2", "B3"}) {
            second.addShape(name, 4);
        }
        hostWrites = std::make_unique<TestWriteCounter>(*host);
    }

    // The application writes its selection: these shapes' graph objects, in order.
    void hostSelects(const std::vector<Vo::RCShdPtr<Vo::SeShape>> &shapes) {
        Vo::SnSelection::Items items;
        for (const Vo::RCShdPtr<Vo::SeShape> &shape : shapes) {
            items.push_back(Vo::RCShdPtr<Vo::SnItem const>(
                new Vo::PiGraphObjectSnItemConst(shape->getGraphObject())));
        }
        host->replaceAllItems(Vo::SnSelection::create(items));
    }
    // The application's items: node and object names, inputs by their place.
    std::vector<std::string> hostItems() const {
        std::vector<std::string> described;
        for (const Vo::RCShdPtr<Vo::SnItem const> &item : *host) {
            described.push_back(SeSelectorUpdaterScene::describe(*item));
        }
        return described;
    }
    static std::string describeShape(const Vo::SnItem &item) {
        const auto &shapeItem = dynamic_cast<const Vo::SeShapeItem &>(item);
        const Vo::RCWeakAccessor<Vo::SeShapeInterface> access(shapeItem.getData());
        std::string text = access->getShape()->getGraphObject()->getName();
        const auto parts = Vo::rcDynamicCastOrNull<Vo::SeShapeParts const>(item.getParts());
        if (!parts.isNull()) {
            text += "[";
            for (int point : parts->getPoints()) {
                text += (text.back() == '[' ? "" : " ") + std::to_string(point);
            }
            text += "]";
        }
        return text;
    }
    void settle() {
        log.clear();
        hostWrites->reset();
    }

    TestController first;
    TestController second{first.graph(), "2"};
    Vo::RCShdPtr<Vo::SnSelection> host = first.hostSelection();
    std::vector<std::string> log;
    Editor layerL{first, "L", log};
    Editor layerM{second, "M", log};
    std::unique_ptr<TestWriteCounter> hostWrites;
};

} // namespace VoTest

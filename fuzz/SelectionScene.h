#pragma once

#include "AppShapeEditor.h"
#include "ModelHostItem.h"
#include "ModelItem.h"
#include "ModelShapes.h"
#include "ReferenceModel.h"

#include "SeSelectionBatch.h"
#include "SeShapeItem.h"
#include "SeShapeParts.h"
#include "SeShapeSelector.h"

#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakAccessor.h"
#include "host/graph/PiGraphObject.h"
#include "host/graph/PiGraphObjectSnItemConst.h"
#include "host/graph/PiInput.h"
#include "host/graph/PiNode.h"
#include "host/graph/PiPath.h"
#include "host/graph/PiSnItem.h"
#include "host/graph/PiSnItemUtil.h"
#include "host/selection/SnItem.h"
#include "host/selection/SnSelection.h"

#include <array>
#include <cstdint>
#include <list>
#include <optional>
#include <string>
#include <vector>

namespace VoFuzz {

// The library side of the selection fuzzer: two layers of the example application on one graph,
// each with its editor (selector, updater, history), sharing the application's selection, with
// shapes of every kind (points with and without a gradient, a single-valued curve, no points at
// all); the batch scopes open on each editor, two saved snapshots, and the reference model built
// alongside. Owns all of them; the scopes end before the editors go.
class SelectionScene {
public:
    static constexpr int kEditors = 2;
    static constexpr int kSnapshots = 2;
    using HostItem = ModelHostItem;

    // A snapshot as the library wrote it, with the model's.
    struct Saved {
        std::string text;
        ReferenceModel::Snapshot snapshot;
    };

    SelectionScene() {
        model.addEditor("ShapeEditor", "Roto>Output");
        model.addEditor("Mask.Editor", "Mask>Output");
        // Layer Roto: points alone; points and handles; a single-valued curve; one handle and
        // no point. Layer Mask: points and handles; nothing; a single-valued curve with a handle.
        addShape(0, "A", 4, 0, false);
        addShape(0, "B", 3, 2, false);
        addShape(0, "C", 5, 0, true);
        addShape(0, "D", 0, 1, false);
        addShape(1, "E", 3, 2, false);
        addShape(1, "F", 0, 0, false);
        addShape(1, "G", 2, 1, true);
        for (VoExample::AppShapeEditor *editor : editors) {
            editor->takeCallbacks();
        }
    }

    VoExample::AppShapeEditor &editor(int e) const { return *editors[static_cast<std::size_t>(e)]; }
    Vo::SeShapeSelector &selector(int e) const { return editor(e).getSelector(); }
    // The live shape of that name; null when it was deleted.
    VoExample::AppShapeInterface *shape(const std::string &name) const {
        return editor(model.getShapes().get(name).layer).getController().getLayer().findShape(name);
    }

    // What the application may select: every shape's object (deleted ones too), the editors'
    // nodes and the layers' tool nodes.
    int hostPoolSize() const { return static_cast<int>(objects.size()) + 2 * kEditors; }
    Vo::RCShdPtr<Vo::SnItem const> hostItem(int which) const {
        const auto place = static_cast<std::size_t>(which);
        if (place < objects.size()) {
            return Vo::PiSnItemUtil::createFromBase(objects[place]);
        }
        VoExample::AppEditorController &controller =
            editor(static_cast<int>(place - objects.size()) % kEditors).getController();
        return place < objects.size() + kEditors
                   ? Vo::PiSnItemUtil::create(controller.getNode())
                   : Vo::PiSnItemUtil::create(controller.getLayer().getToolNode());
    }
    HostItem modelHostItem(int which) const {
        const auto place = static_cast<std::size_t>(which);
        if (place < objects.size()) {
            return HostItem::object(objects[place]->getName());
        }
        const Vo::RCShdPtr<Vo::SnItem const> node = hostItem(which);
        return HostItem::node(
            static_cast<const Vo::PiGraphObjectSnItemConst &>(*node).getGraphObject()->getName());
    }

    // The selection's items as the model writes them; a gone shape reads as "(gone)".
    static ModelItems describe(const Vo::SnSelection &selection) {
        ModelItems items;
        for (const Vo::RCShdPtr<Vo::SnItem const> &item : selection) {
            const Vo::RCWeakAccessor<Vo::SeShapeInterface> editing(
                dynamic_cast<const Vo::SeShapeItem &>(*item).getData());
            ModelItem described = ModelItem::wholeOf(
                editing.isNull() ? "(gone)" : editing->getShape()->getGraphObject()->getName());
            const auto parts = Vo::rcDynamicCastOrNull<Vo::SeShapeParts const>(item->getParts());
            if (!parts.isNull()) {
                described.whole = false;
                described.points.assign(parts->getPoints().begin(), parts->getPoints().end());
                described.handles.assign(parts->getHandles().begin(), parts->getHandles().end());
            }
            items.push_back(described);
        }
        return items;
    }
    // The application's items as HostItem::text writes them: an input that left the graph as
    // "input (gone) NAME".
    static std::vector<std::string> describeHost(const Vo::SnSelection &selection) {
        std::vector<std::string> texts;
        for (const Vo::RCShdPtr<Vo::SnItem const> &item : selection) {
            if (const auto *object =
                    dynamic_cast<const Vo::PiGraphObjectSnItemConst *>(item.get())) {
                const auto graphObject = object->getGraphObject();
                texts.push_back((graphObject->asNode() != nullptr ? "node " : "object ") +
                                graphObject->getName());
            } else if (const auto *input =
                           dynamic_cast<const Vo::PiSnItem<Vo::PiInput> *>(item.get())) {
                const auto graphInput = input->getInput();
                texts.push_back("input " +
                                (graphInput->getNode().isNull() ? "(gone) " + graphInput->getName()
                                                                : graphInput->getPlace()) +
                                " via " + pathOf(*input));
            } else {
                texts.emplace_back("an item of another class");
            }
        }
        return texts;
    }

    // "Roto>Output": the nodes of an input item's path; "(no path)" without one.
    static std::string pathOf(const Vo::PiSnItem<Vo::PiInput> &item) {
        const auto path = item.getPath();
        std::string nodes;
        for (int at = 0; !path.isNull() && at < path->getNbNodes(); ++at) {
            nodes += (at == 0 ? "" : ">") + path->getNode(at)->getName();
        }
        return nodes.empty() ? "(no path)" : nodes;
    }

    VoExample::AppShapeEditor roto;
    VoExample::AppShapeEditor mask{roto, "Mask"};
    std::array<VoExample::AppShapeEditor *, kEditors> editors{&roto, &mask};
    Vo::RCShdPtr<Vo::SnSelection> host = roto.getController().getApplicationSelection();
    ReferenceModel model;
    std::array<std::list<Vo::SeSelectionBatch>, kEditors> batches;
    std::array<std::optional<Saved>, kSnapshots> saved;

private:
    void addShape(int layer, const std::string &name, int points, int handles, bool single) {
        VoExample::AppShapeInterface *made =
            editor(layer).getController().addShape(name, points, handles, single);
        const Vo::RCShdPtr<Vo::PiGraphObject const> object = made->getShape()->getGraphObject();
        objects.push_back(object);
        model.addShape(ModelShapes::Shape{name, layer, points, handles, handles > 0, single,
                                          static_cast<std::uint64_t>(object->getId()), true});
    }

    // Each shape's graph object, in the order made: it stays for the application to select after
    // the shape is deleted.
    std::vector<Vo::RCShdPtr<Vo::PiGraphObject const>> objects;
};

} // namespace VoFuzz

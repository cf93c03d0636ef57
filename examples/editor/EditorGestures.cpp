#include "EditorGestures.h"

#include "EditorPartsDeletion.h"
#include "EditorPointInsertion.h"
#include "EditorShapesDeletion.h"

#include "AppEditorController.h"
#include "AppLayerInterface.h"

#include "SeShape.h"
#include "SeShapeItem.h"
#include "SeShapeSelector.h"

#include "foundation/Iterator.h"
#include "foundation/List.h"
#include "foundation/Vector.h"
#include "host/selection/SnSelection.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <unordered_set>

namespace VoEditor {

using Vo::RCShdPtr;
using VoExample::AppShapeInterface;

namespace {

QString name(const AppShapeInterface &shape) { return QString::fromStdString(shape.getName()); }

// More than this many are counted, not listed, in a log line: a line a person reads, and that the
// log lays out and draws at the cost of a short one (a list of 10^4 indices took it 50 ms).
const int maxListed = 50;

QString listed(const QStringList &words) {
    const QString shown = words.mid(0, maxListed).join(QStringLiteral(", "));
    return words.size() <= maxListed
               ? shown
               : shown + QStringLiteral(", ... (%1 in all)").arg(words.size());
}

const char *verbOf(EditorGestures::Marquee marquee) {
    switch (marquee) {
    case EditorGestures::Marquee::Add:
        return "add";
    case EditorGestures::Marquee::Remove:
        return "take out";
    default:
        return "select";
    }
}

QString within(bool freehand) {
    return freehand ? QStringLiteral(" in the outline") : QStringLiteral(" in the rectangle");
}

QString numbers(const std::vector<int> &indices) {
    QStringList words;
    for (const int index : indices) {
        words << QString::number(index);
    }
    return listed(words);
}

} // namespace

EditorGestures::EditorGestures(EditorDocument &editorDocument) : document(editorDocument) {}

AppShapeInterface *EditorGestures::primaryShape() const {
    return document.getSession().getPrimaryShape();
}

void EditorGestures::clickShape(AppShapeInterface &shape, bool toggle) {
    Vo::SeShapeSelector &selector = document.getSelector();
    const RCShdPtr<Vo::SeShape> model = shape.getShape();
    if (!toggle) {
        document.perform("click shape " + name(shape),
                         [&] { selector.setPrimarySelectedShape(model, -1); });
    } else if (!selector.isShapeSelected(model)) {
        // The others keep their items and parts: the shape is added after them.
        document.perform("add shape " + name(shape), [&] { selector.addSelectedShape(model); });
    } else if (nbItemsOf(shape) == 1) {
        document.perform("take out shape " + name(shape), [&] { selector.unselectShape(model); });
    } else {
        takeOutEveryItem(shape);
    }
}

int EditorGestures::nbItemsOf(const AppShapeInterface &shape) const {
    const RCShdPtr<Vo::SnSelection> selection = document.getSelector().getSelection();
    return static_cast<int>(std::count_if(
        selection->begin(), selection->end(), [&shape](const RCShdPtr<Vo::SnItem const> &item) {
            const auto *shapeItem = dynamic_cast<const Vo::SeShapeItem *>(item.get());
            return shapeItem != nullptr && shapeItem->getData() == shape.getWeak();
        }));
}

// A shape selected more than once (a command or the application may do that) leaves with all its
// items in one change; unselectShape would take out only the first.
void EditorGestures::takeOutEveryItem(const AppShapeInterface &shape) {
    Vo::SeShapeSelector &selector = document.getSelector();
    Vo::List<RCShdPtr<Vo::SnItem const>> kept;
    for (const RCShdPtr<Vo::SnItem const> &item : *selector.getSelection()) {
        const auto *shapeItem = dynamic_cast<const Vo::SeShapeItem *>(item.get());
        if (shapeItem == nullptr || shapeItem->getData() != shape.getWeak()) {
            kept.push_back(item);
        }
    }
    document.perform("take out shape " + name(shape),
                     [&] { selector.replaceAllItems(Vo::SnSelection::create(kept)); });
}

void EditorGestures::clickPoint(int index, Click click) {
    Vo::SeShapeSelector &selector = document.getSelector();
    const QString label = QString::number(index);
    if (click == Click::Alone) {
        document.perform("click point " + label, [&] { selector.selectPoint(index); });
    } else if (click == Click::Add && selector.getPointSelectionRank(index) == 0) {
        document.perform("add point " + label, [&] { selector.addSelectedPoint(index); });
    } else if (click == Click::Remove && selector.getPointSelectionRank(index) > 0) {
        // With no point left, nor a handle, the shape goes back to being selected as a whole.
        document.perform("take out point " + label, [&] { selector.unselectPoint(index); });
    }
}

void EditorGestures::clickHandle(int index, Click click) {
    Vo::SeShapeSelector &selector = document.getSelector();
    const QString label = QString::number(index);
    if (click == Click::Alone) {
        document.perform("click handle " + label, [&] { selector.selectHandle(index); });
    } else if (click == Click::Add && selector.getHandleSelectionRank(index) == 0) {
        document.perform("add handle " + label, [&] { selector.addSelectedHandle(index); });
    } else if (click == Click::Remove && selector.getHandleSelectionRank(index) > 0) {
        document.perform("take out handle " + label, [&] { selector.unselectHandle(index); });
    }
}

void EditorGestures::selectPoints(const std::vector<int> &points, Marquee marquee, bool freehand) {
    if (points.empty() || primaryShape() == nullptr) {
        return;
    }
    Vo::SeShapeSelector &selector = document.getSelector();
    Vo::Vector<int> selected;
    selector.getSelectedPoints(selected);
    // One call whatever the marquee: the points as they are to be, in selection order.
    std::vector<int> wanted = points;
    if (marquee != Marquee::Replace) {
        const std::unordered_set<int> caught(points.begin(), points.end());
        const std::unordered_set<int> kept(selected.begin(), selected.end());
        wanted.clear();
        for (const int index : selected) {
            if (marquee == Marquee::Add || caught.count(index) == 0) {
                wanted.push_back(index);
            }
        }
        for (const int index : points) {
            if (marquee == Marquee::Add && kept.count(index) == 0) {
                wanted.push_back(index);
            }
        }
    }
    const Vo::Vector<int> indices(wanted.begin(), wanted.end());
    document.perform(QLatin1String(verbOf(marquee)) + " points " + numbers(points) +
                         within(freehand),
                     [&] { selector.selectPoints(indices); });
}

void EditorGestures::selectShapes(const std::vector<AppShapeInterface *> &shapes, Marquee marquee,
                                  bool freehand) {
    if (shapes.empty()) {
        return;
    }
    Vo::SeShapeSelector &selector = document.getSelector();
    Vo::Vector<RCShdPtr<Vo::SeShape>> models;
    QStringList names;
    for (AppShapeInterface *shape : shapes) {
        models.push_back(shape->getShape());
        names << name(*shape);
    }
    document.perform(
        QLatin1String(verbOf(marquee)) + " shapes " + listed(names) + within(freehand), [&] {
            if (marquee == Marquee::Replace) {
                selector.setSelectedShapes(models);
                return;
            }
            Vo::SeSelectionBatch batch(document.getSession().getController().getShapeSelector());
            for (const RCShdPtr<Vo::SeShape> &model : models) {
                if (marquee == Marquee::Add) {
                    selector.addSelectedShape(model);
                } else {
                    selector.unselectShape(model);
                }
            }
            batch.commit();
        });
}

void EditorGestures::invertSelection() {
    Vo::SeShapeSelector &selector = document.getSelector();
    AppShapeInterface *primary = primaryShape();
    const EditorShapeView *primaryView = nullptr;
    std::vector<EditorShapeView> views = document.describeShapes();
    for (const EditorShapeView &view : views) {
        primaryView = view.primary ? &view : primaryView;
    }
    if (primary != nullptr && primaryView != nullptr &&
        !(primaryView->points.empty() && primaryView->handles.empty())) {
        std::vector<bool> chosen(static_cast<std::size_t>(primary->getNbPoints()), false);
        for (const int index : primaryView->points) {
            if (index >= 0 && static_cast<std::size_t>(index) < chosen.size()) {
                chosen[static_cast<std::size_t>(index)] = true;
            }
        }
        Vo::Vector<int> others;
        for (std::size_t index = 0; index < chosen.size(); ++index) {
            if (!chosen[index]) {
                others.push_back(static_cast<int>(index));
            }
        }
        document.perform("invert the points of " + name(*primary),
                         [&] { selector.setShapeParts(primary->getShape(), &others, nullptr); });
        return;
    }
    Vo::Vector<RCShdPtr<Vo::SeShape>> others;
    for (const EditorShapeView &view : views) {
        if (!view.selected) {
            others.push_back(view.shape->getShape());
        }
    }
    document.perform("invert the selected shapes", [&] { selector.setSelectedShapes(others); });
}

void EditorGestures::selectAll() {
    Vo::SeShapeSelector &selector = document.getSelector();
    if (const AppShapeInterface *primary = primaryShape()) {
        const int count = primary->getNbPoints();
        document.perform("select all points of " + name(*primary),
                         [&] { selector.selectAllPoints(count); });
        return;
    }
    Vo::Iterator<RCShdPtr<Vo::SeShape>> shapes =
        document.getSession().getController().getLayer().getShapes();
    document.perform("select all shapes", [&] { selector.selectAllShapes(shapes); });
}

void EditorGestures::growPoints(bool grow) {
    const AppShapeInterface *primary = primaryShape();
    Vo::SeShapeSelector &selector = document.getSelector();
    Vo::Vector<int> selected;
    if (primary != nullptr) {
        selector.getSelectedPoints(selected);
    }
    if (selected.empty()) {
        return;
    }
    const int count = primary->getNbPoints();
    std::vector<bool> chosen(static_cast<std::size_t>(count), false);
    for (const int index : selected) {
        chosen[static_cast<std::size_t>(index)] = true;
    }
    const auto isChosen = [&chosen, count](int index) {
        return index >= 0 && index < count && chosen[static_cast<std::size_t>(index)];
    };
    Vo::Vector<int> wanted;
    for (const int index : selected) {
        if (grow || (isChosen(index - 1) && isChosen(index + 1))) {
            wanted.push_back(index);
        }
    }
    for (const int index : selected) {
        for (const int next : {index - 1, index + 1}) {
            if (grow && next >= 0 && next < count && !chosen[static_cast<std::size_t>(next)]) {
                chosen[static_cast<std::size_t>(next)] = true;
                wanted.push_back(next);
            }
        }
    }
    document.perform(grow ? "grow the selected points" : "shrink the selected points",
                     [&] { selector.selectPoints(wanted); });
}

void EditorGestures::step(bool forward) {
    const AppShapeInterface *primary = primaryShape();
    if (primary == nullptr) {
        return;
    }
    Vo::SeShapeSelector &selector = document.getSelector();
    const int count = primary->getNbPoints();
    document.perform(forward ? "next point" : "previous point", [&] {
        if (forward) {
            selector.selectNextPoint(count);
        } else {
            selector.selectPreviousPoint(count);
        }
    });
}

void EditorGestures::selectNothing() {
    document.perform("select nothing", [&] { document.getSelector().resetSelection(); });
}

void EditorGestures::deleteSelection() {
    AppShapeInterface *primary = primaryShape();
    Vo::Vector<int> points;
    Vo::Vector<int> handles;
    if (primary != nullptr) {
        document.getSelector().getSelectedPoints(points);
        document.getSelector().getSelectedHandles(handles);
    }
    if (points.empty() && handles.empty()) {
        deleteShapes();
    } else {
        deleteParts(*primary, std::vector<int>(points.begin(), points.end()),
                    std::vector<int>(handles.begin(), handles.end()));
    }
}

void EditorGestures::deleteParts(AppShapeInterface &shape, const std::vector<int> &points,
                                 const std::vector<int> &handles) {
    auto deletion = std::make_unique<EditorPartsDeletion>(document.getSession(), shape.getName(),
                                                          points, handles);
    const std::vector<int> &pointsDown = deletion->getPoints();
    const std::vector<int> &handlesDown = deletion->getHandles();
    QString label = "delete from " + name(shape) + ":";
    label += pointsDown.empty() ? QString() : " points " + numbers(pointsDown);
    label += handlesDown.empty() ? QString() : " handles " + numbers(handlesDown);
    if (!pointsDown.empty() || !handlesDown.empty()) {
        const QString text =
            EditorSelectionState::describeParts(pointsDown.size(), handlesDown.size());
        document.getHistory().push("Delete " + text, label, std::move(deletion));
    }
}

void EditorGestures::deleteShapes() {
    Vo::Vector<Vo::RCWeakPtr<Vo::SeShapeInterface>> selected;
    document.getSelector().getSelectedShapeInterfaces(selected);
    std::vector<std::string> names;
    QStringList labels;
    for (const Vo::RCWeakPtr<Vo::SeShapeInterface> &weak : selected) {
        const auto *shape = dynamic_cast<const AppShapeInterface *>(weak.get());
        if (!weak.isNull() && shape != nullptr) {
            names.push_back(shape->getName());
            labels << name(*shape);
        }
    }
    if (names.empty()) {
        return;
    }
    document.getHistory().push(
        "Delete " + EditorSelectionState::counted(names.size(), "Shape", "Shapes"),
        "delete shapes " + listed(labels),
        std::make_unique<EditorShapesDeletion>(document.getSession(),
                                               document.getHistory().getShapes(), names));
}

void EditorGestures::insertPoint() {
    AppShapeInterface *primary = primaryShape();
    Vo::Vector<int> points;
    if (primary == nullptr) {
        return;
    }
    document.getSelector().getSelectedPoints(points);
    if (points.empty()) {
        return;
    }
    const int index = points.front() + 1;
    document.getHistory().push(
        QStringLiteral("Insert Point"),
        "insert point " + QString::number(index) + " into " + name(*primary),
        std::make_unique<EditorPointInsertion>(document.getSession(), primary->getName(), index));
}

void EditorGestures::insertPointAt(int index, const QPointF &at) {
    AppShapeInterface *primary = primaryShape();
    if (primary == nullptr) {
        return;
    }
    document.getHistory().push(QStringLiteral("Insert Point"),
                               QStringLiteral("insert point %1 into %2 at (%3, %4)")
                                   .arg(index)
                                   .arg(name(*primary))
                                   .arg(at.x())
                                   .arg(at.y()),
                               std::make_unique<EditorPointInsertion>(
                                   document.getSession(), primary->getName(), index, &at));
}

void EditorGestures::undo() { document.getHistory().undo(); }

void EditorGestures::redo() { document.getHistory().redo(); }

bool EditorGestures::pick(Picking type, int index, int extremity) {
    Vo::SeShapeSelector &selector = document.getSelector();
    const auto picking = static_cast<Vo::SeShapeSelector::PickingType>(type);
    if (selector.getPickingType() == picking && selector.getPickingIndex() == index &&
        selector.getPickingExtremity() == extremity) {
        return false;
    }
    selector.setPickingType(picking);
    selector.setPickingIndex(index);
    selector.setPickingExtremity(extremity);
    return true;
}

} // namespace VoEditor

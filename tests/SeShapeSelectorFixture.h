#pragma once

#include "SeShape.h"
#include "SeShapeInterface.h"
#include "SeShapeItem.h"
#include "SeShapeParts.h"
#include "SeShapeSelector.h"
#include "app/TestController.h"

#include "foundation/List.h"
#include "foundation/RCShdPtr.h"
#include "foundation/RCWeakPtr.h"
#include "foundation/Vector.h"
#include "host/ObHints.h"
#include "host/ObObserver.h"
#include "host/ObSubject.h"
#include "host/selection/Sn.h"
#include "host/selection/SnItem.h"
#include "host/selection/SnParts.h"
#include "host/selection/SnSelection.h"

#include <gtest/gtest.h>

#include <initializer_list>
#include <iterator>
#include <vector>

namespace VoTest {

// The selector of a small editor with shapes A, B and C (10 points and 4 handles each), the
// shapes' model and editing sides captured while they all live, and an observer that counts the
// change notifications of the selector's selection. Holds the models, so that a shape whose
// editing side is deleted can still be handed to the selector.
class SeShapeSelectorFixture : public ::testing::Test {
protected:
    using Indices = std::vector<int>;

    // Counts every notification of the subject it is attached to.
    class Notifications : public Vo::ObObserver<Vo::Sn> {
    public:
        void update(Vo::ObSubject<Vo::Sn> *, const Vo::ObHints &) override { ++count; }
        int count = 0;
    };

    SeShapeSelectorFixture() {
        for (int i = 0; i < app.getNbShapes(); ++i) {
            models.push_back(app.shape(i));
            weaks.push_back(app.weak(i));
        }
        selection->getSubject().attachObserver(&notifications);
    }

    // The notifications since the last time this was asked.
    int takeNotifications() {
        const int count = notifications.count;
        notifications.count = 0;
        return count;
    }

    Vo::Vector<Vo::RCShdPtr<Vo::SeShape>> shapes(std::initializer_list<int> indices) const {
        Vo::Vector<Vo::RCShdPtr<Vo::SeShape>> result;
        for (int index : indices) {
            result.push_back(models.at(static_cast<std::size_t>(index)));
        }
        return result;
    }

    // A shape item for one of the fixture's shapes; no parts when both lists are absent.
    Vo::RCShdPtr<Vo::SnItem const> item(int shape) const {
        return Vo::RCShdPtr<Vo::SnItem const>(
            new Vo::SeShapeItem(Vo::RCShdPtr<Vo::SnParts>(), weaks.at(std::size_t(shape))));
    }
    Vo::RCShdPtr<Vo::SnItem const> item(int shape, const Indices &points,
                                        const Indices &handles) const {
        Vo::RCShdPtr<Vo::SeShapeParts> parts(new Vo::SeShapeParts);
        for (int point : points) {
            parts->appendPoint(point);
        }
        for (int handle : handles) {
            parts->appendHandle(handle);
        }
        return Vo::RCShdPtr<Vo::SnItem const>(
            new Vo::SeShapeItem(parts, weaks.at(std::size_t(shape))));
    }
    // Gives the selector exactly these items (one notification when that changes anything).
    void select(std::initializer_list<Vo::RCShdPtr<Vo::SnItem const>> items) {
        selector->replaceAllItems(Vo::SnSelection::create(
            Vo::List<Vo::RCShdPtr<Vo::SnItem const>>(items.begin(), items.end())));
    }

    const Vo::RCShdPtr<Vo::SnItem const> &itemAt(int position) const {
        auto found = selection->begin();
        std::advance(found, position);
        return *found;
    }
    const Vo::SeShapeItem &shapeItemAt(int position) const {
        return dynamic_cast<const Vo::SeShapeItem &>(*itemAt(position));
    }
    // The parts of the item at position; null when it has none.
    const Vo::SeShapeParts *partsAt(int position) const {
        const Vo::RCShdPtr<Vo::SnParts const> parts = itemAt(position)->getParts();
        return dynamic_cast<const Vo::SeShapeParts *>(parts.get());
    }
    Indices pointsAt(int position) const {
        const Vo::SeShapeParts *parts = partsAt(position);
        return parts ? Indices(parts->getPoints().begin(), parts->getPoints().end()) : Indices();
    }
    Indices handlesAt(int position) const {
        const Vo::SeShapeParts *parts = partsAt(position);
        return parts ? Indices(parts->getHandles().begin(), parts->getHandles().end()) : Indices();
    }

    // The fixture index of each selected shape, in selection order (-1 for another shape).
    Indices selectedShapes() const {
        Indices result;
        for (const Vo::RCShdPtr<Vo::SnItem const> &selected : *selection) {
            const Vo::RCWeakPtr<Vo::SeShapeInterface> &shape =
                dynamic_cast<const Vo::SeShapeItem &>(*selected).getData();
            int index = -1;
            for (std::size_t i = 0; i < weaks.size(); ++i) {
                if (weaks[i] == shape) {
                    index = static_cast<int>(i);
                }
            }
            result.push_back(index);
        }
        return result;
    }

    TestController app;
    const int a = app.addShape("A", 10, 4);
    const int b = app.addShape("B", 10, 4);
    const int c = app.addShape("C", 10, 4);
    std::vector<Vo::RCShdPtr<Vo::SeShape>> models;
    std::vector<Vo::RCWeakPtr<Vo::SeShapeInterface>> weaks;
    const Vo::RCShdPtr<Vo::SeShapeSelector> selector = app.getShapeSelector();
    const Vo::RCShdPtr<Vo::SnSelection> selection = selector->getSelection();
    Notifications notifications;
};

} // namespace VoTest

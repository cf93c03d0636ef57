#include "SeExMissingElement.h"
#include "SeSelectionBatch.h"
#include "SeSelectionHistory.h"
#include "SeSelectorUpdater.h"
#include "SeTwoEditorsScene.h"

#include "base/RCExInvalidCall.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace VoTest {
namespace {

using namespace Vo;
using Texts = std::vector<std::string>;

class SeSeveralEditorsTest : public SeTwoEditorsScene {
protected:
    std::string objectOf(const Editor &editor, int shape) const {
        return SeSelectorUpdaterScene::name(*editor.shape(shape)->getGraphObject());
    }
    std::string nodeOf(const Editor &editor) const {
        return SeSelectorUpdaterScene::name(*editor.controller.getNode());
    }
};

// Each editor holds its own shapes among those the application's selection names; the last editor
// to change writes the application's selection, and republish brings another one's back.
TEST_F(SeSeveralEditorsTest, EditorsInterleavedEachKeepTheirOwnSelection) {
    hostSelects({layerL.shape(1), layerM.shape(2), layerL.shape(0)});
    EXPECT_EQ(layerL.held(), (Texts{"A2", "A1"}));
    EXPECT_EQ(layerM.held(), Texts{"B3"});
    EXPECT_EQ(log, (Texts{"L:primary", "L:selection", "M:primary", "M:selection"}));
    EXPECT_FALSE(layerL.updater->isPublished());
    EXPECT_FALSE(layerM.updater->isPublished());

    // L changes: its write replaces the application's selection; M keeps B3 and hears nothing.
    settle();
    layerL.selector->setPrimarySelectedShape(layerL.shape(2), 1);
    EXPECT_EQ(hostItems().front(), nodeOf(layerL));
    EXPECT_EQ(hostItems().at(1), objectOf(layerL, 2));
    EXPECT_EQ(layerM.held(), Texts{"B3"});
    EXPECT_EQ(log, (Texts{"L:primary", "L:shapes", "L:selection"}));
    EXPECT_TRUE(layerL.updater->isPublished());
    EXPECT_FALSE(layerM.updater->isPublished());

    // M selecting what it holds is no change, and writes nothing; republish writes it out.
    settle();
    layerM.selector->setSelectedShapes({layerM.shape(2)});
    EXPECT_EQ(hostWrites->getNbWrites(), 0);
    layerM.updater->republish();
    EXPECT_EQ(hostItems(), (Texts{nodeOf(layerM), objectOf(layerM, 2)}));
    EXPECT_EQ(hostWrites->getNbWrites(), 1);
    EXPECT_TRUE(log.empty());
    EXPECT_EQ(layerL.held(), Texts{"A3[1]"});
    EXPECT_TRUE(layerM.updater->isPublished());
    EXPECT_FALSE(layerL.updater->isPublished());

    // Republishing what the application shows writes nothing.
    settle();
    layerM.updater->republish();
    EXPECT_EQ(hostWrites->getNbWrites(), 0);

    // Back to L, with its point's inputs; then M's points, while L keeps its own.
    layerL.updater->republish();
    EXPECT_EQ(hostItems().size(), 4U); // node, object, the point's x and y
    settle();
    layerM.selector->selectPoint(3);
    EXPECT_EQ(layerM.held(), Texts{"B3[3]"});
    EXPECT_EQ(hostItems().size(), 4U);
    EXPECT_EQ(hostItems().front(), nodeOf(layerM));
    EXPECT_EQ(layerL.held(), Texts{"A3[1]"});
    // The application's selection showed none of M's shapes: its first shape changes.
    EXPECT_EQ(log, (Texts{"M:primary", "M:shapes", "M:selection"}));

    // The application selects L's shapes only: M keeps its selection.
    settle();
    hostSelects({layerL.shape(3)});
    EXPECT_EQ(layerL.held(), Texts{"A4"});
    EXPECT_EQ(layerM.held(), Texts{"B3[3]"});
    EXPECT_EQ(log, (Texts{"L:primary", "L:selection"}));
}

// Undo and batches of one editor are changes on its side: they write the application's selection;
// the other editor's history records nothing meanwhile. A removal event of an editor the
// application's selection does not show changes that editor alone: it used to write the
// application's selection, taking it over from the editor it showed.
TEST_F(SeSeveralEditorsTest, HistoriesAndRemovalsStayWithTheirEditor) {
    SeSelectionHistory historyL(layerL.selector);
    SeSelectionHistory historyM(layerM.selector);
    layerL.selector->setSelectedShapes({layerL.shape(0), layerL.shape(1)});
    layerM.selector->setSelectedShapes({layerM.shape(0)});
    layerM.selector->setSelectedShapes({layerM.shape(0), layerM.shape(1)});
    EXPECT_EQ(historyL.getNbUndoSteps(), 1);
    EXPECT_EQ(historyM.getNbUndoSteps(), 2);

    ASSERT_TRUE(historyL.undo());
    EXPECT_EQ(layerL.held(), Texts{});
    EXPECT_EQ(hostItems(), Texts{nodeOf(layerL)});
    EXPECT_EQ(layerM.held(), (Texts{"B1", "B2"}));
    EXPECT_EQ(historyM.getNbUndoSteps(), 2);

    settle();
    second.deleteShape(1);
    EXPECT_EQ(layerM.held(), Texts{"B1"});
    EXPECT_EQ(hostItems(), Texts{nodeOf(layerL)});
    EXPECT_EQ(log, (Texts{"M:shapes", "M:selection"}));
    EXPECT_TRUE(layerL.updater->isPublished());
    EXPECT_EQ(historyM.getNbUndoSteps(), 3);

    {
        SeSelectionBatch batch(layerL.selector);
        layerL.selector->addSelectedShape(layerL.shape(3));
        EXPECT_THROW(layerL.updater->republish(), RCExInvalidCall);
        batch.commit();
    }
    EXPECT_EQ(hostItems(), (Texts{nodeOf(layerL), objectOf(layerL, 3)}));
    EXPECT_EQ(layerM.held(), Texts{"B1"});
}

// The application's own write shows every editor whose shapes it names: each of them keeps it in
// step when one of its shapes is removed. An editor it names nothing of keeps to its own selection.
TEST_F(SeSeveralEditorsTest, ARemovalWritesWhereTheApplicationsSelectionShowsTheEditor) {
    layerL.selector->setSelectedShapes({layerL.shape(3)});
    hostSelects({layerM.shape(0), layerM.shape(2)});
    EXPECT_EQ(layerM.held(), (Texts{"B1", "B3"}));
    EXPECT_EQ(layerL.held(), Texts{"A4"});
    settle();
    second.deleteShape(2);
    EXPECT_EQ(layerM.held(), Texts{"B1"});
    EXPECT_EQ(hostItems(), (Texts{nodeOf(layerM), objectOf(layerM, 0)}));
    EXPECT_EQ(log, (Texts{"M:shapes", "M:selection"}));
    EXPECT_TRUE(layerM.updater->isPublished());

    settle();
    first.deleteShape(3);
    EXPECT_EQ(layerL.held(), Texts{});
    EXPECT_EQ(hostItems(), (Texts{nodeOf(layerM), objectOf(layerM, 0)}));
    EXPECT_EQ(log, (Texts{"L:primary", "L:shapes", "L:selection"}));

    // What an unshown editor's removal took out is not among the ids its updater knows: once the
    // application's selection shows it again, the same event a second time changes nothing.
    layerL.selector->setSelectedShapes({layerL.shape(0)});
    layerM.selector->setSelectedShapes({layerM.shape(0), layerM.shape(1)});
    layerL.updater->republish();
    const int gone = layerM.shape(1)->getId();
    second.deleteShape(1);
    hostSelects({layerM.shape(0)});
    EXPECT_EQ(layerM.held(), Texts{"B1"});
    settle();
    second.sendRemoval(gone);
    EXPECT_EQ(layerM.held(), Texts{"B1"});
    EXPECT_EQ(hostWrites->getNbWrites(), 0);
    EXPECT_TRUE(log.empty());
}

} // namespace
} // namespace VoTest

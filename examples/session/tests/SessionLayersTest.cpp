#include "SessionLayers.h"

#include "AppShapeInterface.h"

#include "SeShapeSelector.h"

#include "host/selection/SnSelection.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <stdexcept>

namespace {

// Layers share one graph and one application selection; the active layer is the one whose editor
// last wrote it, and a layer that does not exist changes nothing.
TEST(SessionLayersTest, LayersShareTheGraphAndOnlyAnExistingOneBecomesActive) {
    VoSession::SessionLayers layers;
    VoExample::AppShapeEditor &paint = layers.add("Paint");
    EXPECT_EQ(layers.getNames(), (std::vector<std::string>{"Roto", "Paint"}));
    const std::vector<std::string> nodes = layers.getNodeNames();
    EXPECT_NE(std::find(nodes.begin(), nodes.end(), "Roto"), nodes.end());
    EXPECT_NE(std::find(nodes.begin(), nodes.end(), "Paint"), nodes.end());
    EXPECT_EQ(layers.find("Paint"), std::optional<std::size_t>(1));
    EXPECT_EQ(layers.find("Blur"), std::nullopt);
    EXPECT_EQ(&layers.getActive(), &layers.at(0));
    const Vo::RCShdPtr<Vo::SnSelection> application =
        layers.at(0).getController().getApplicationSelection();
    EXPECT_EQ(paint.getController().getApplicationSelection().get(), application.get());

    // Paint writes its shape; Roto, made active, writes its own selection over it.
    VoExample::AppShapeInterface *shape = paint.getController().addShape("P", 2, 0, false);
    paint.getSelector().setSelectedShapes({shape->getShape()});
    const Vo::RCShdPtr<Vo::SnSelection const> paintWrote(application->clone());
    layers.activate(0);
    EXPECT_FALSE(application->isEqual(paintWrote));

    EXPECT_THROW(layers.activate(2), std::out_of_range);
    EXPECT_EQ(layers.getActiveIndex(), 0u);
    layers.activate(1);
    EXPECT_EQ(&layers.getActive(), &paint);
    EXPECT_TRUE(paint.isPublished());
    EXPECT_TRUE(application->isEqual(paintWrote));
}

} // namespace

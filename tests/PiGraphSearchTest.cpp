#include "host/graph/PiGraphSearch.h"

#include "foundation/RCShdPtr.h"
#include "foundation/Vector.h"
#include "host/graph/PiGraph.h"
#include "host/graph/PiIsPrimaryOutputNode.h"
#include "host/graph/PiIsToolNode.h"
#include "host/graph/PiNode.h"
#include "host/graph/PiPath.h"
#include "host/PrdPredicate.h"
#include "host/PrdPredicateImp.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

namespace Vo {
namespace PiGraphSearchTesting {

using NodePtr = RCShdPtr<PiNode const>;
using NodePredicate = PrdPredicate<NodePtr>;

// Accepts the nodes of one name and counts how often each node was tested.
class NamedNode : public PrdPredicateImp<NodePtr> {
public:
    NamedNode(std::string wanted, std::map<std::string, int> &tested)
        : name(std::move(wanted)), counts(tested) {}
    bool evaluate(const NodePtr &node) const override {
        ++counts[node->getName()];
        return node->getName() == name;
    }

private:
    std::string name;
    std::map<std::string, int> &counts;
};

NodePredicate named(const std::string &name, std::map<std::string, int> &tested) {
    return NodePredicate(RCShdPtr<PrdPredicateImp<NodePtr>>(new NamedNode(name, tested)));
}

std::vector<std::string> namesOf(const RCShdPtr<PiPath> &path) {
    std::vector<std::string> names;
    for (int i = 0; i < path->getNbNodes(); ++i) {
        names.push_back(path->getNode(i)->getName());
    }
    return names;
}

// Nodes by name; connect("a", "b") makes b downstream of a.
class Graph {
public:
    Graph() : graph(PiGraph::create()) {}
    RCShdPtr<PiNode> node(const std::string &name, int flags = PiNode::NoFlags) {
        RCShdPtr<PiNode> &slot = nodes[name];
        if (slot.isNull()) {
            slot = graph->addNode(name, flags);
        }
        return slot;
    }
    void connect(const std::string &from, const std::string &to) {
        graph->connect(node(from), node(to));
    }
    RCShdPtr<PiPath> search(const std::string &start, const NodePredicate &predicate) {
        return PiGraphSearch::heightFirst(node(start), predicate);
    }

private:
    RCShdPtr<PiGraph> graph;
    std::map<std::string, RCShdPtr<PiNode>> nodes;
};

using Names = std::vector<std::string>;

TEST(PiGraphSearchTest, FindsThePathDownstreamToAMatch) {
    Graph graph;
    graph.connect("roto", "blur");
    graph.connect("blur", "output");
    std::map<std::string, int> tested;

    EXPECT_EQ(namesOf(graph.search("roto", named("output", tested))),
              (Names{"roto", "blur", "output"}));
    EXPECT_EQ(namesOf(graph.search("roto", named("roto", tested))), (Names{"roto"}));
    EXPECT_TRUE(graph.search("blur", named("roto", tested)).isNull());
    EXPECT_TRUE(graph.search("output", named("blur", tested)).isNull());
    EXPECT_TRUE(PiGraphSearch::heightFirst(NodePtr(), NodePredicate()).isNull());
}

TEST(PiGraphSearchTest, GoesDepthFirstInConnectionOrder) {
    Graph graph;
    graph.connect("start", "left");
    graph.connect("start", "right");
    graph.connect("left", "deep");
    graph.connect("deep", "target");
    graph.connect("right", "target");
    std::map<std::string, int> tested;

    // Breadth first would reach target through right, one step sooner.
    EXPECT_EQ(namesOf(graph.search("start", named("target", tested))),
              (Names{"start", "left", "deep", "target"}));
    EXPECT_EQ(tested.count("right"), 0u);
}

TEST(PiGraphSearchTest, TestsEachNodeOnceAndEndsOnCycles) {
    Graph graph;
    graph.connect("a", "b");
    graph.connect("b", "c");
    graph.connect("c", "a");
    graph.connect("b", "b");
    graph.connect("a", "c");
    std::map<std::string, int> tested;

    EXPECT_TRUE(graph.search("a", named("missing", tested)).isNull());
    EXPECT_EQ(tested, (std::map<std::string, int>{{"a", 1}, {"b", 1}, {"c", 1}}));

    graph.connect("c", "exit");
    EXPECT_EQ(namesOf(graph.search("b", named("exit", tested))), (Names{"b", "c", "exit"}));
}

TEST(PiGraphSearchTest, NodePredicatesReadTheFlags) {
    Graph graph;
    const NodePtr tool = graph.node("roto", PiNode::Tool);
    const NodePtr output = graph.node("output", PiNode::PrimaryOutput);
    const NodePtr both = graph.node("both", PiNode::Tool | PiNode::PrimaryOutput);
    const NodePtr plain = graph.node("plain");
    const NodePredicate isTool = PiIsToolNode::getPredicate();
    const NodePredicate isOutput = PiIsPrimaryOutputNode::getPredicate();

    EXPECT_TRUE(isTool(tool));
    EXPECT_FALSE(isTool(output));
    EXPECT_TRUE(isTool(both));
    EXPECT_FALSE(isTool(plain));
    EXPECT_FALSE(isTool(NodePtr()));
    EXPECT_FALSE(isOutput(tool));
    EXPECT_TRUE(isOutput(output));
    EXPECT_TRUE(isOutput(both));
    EXPECT_FALSE(isOutput(plain));
    EXPECT_FALSE(isOutput(NodePtr()));

    graph.connect("roto", "plain");
    graph.connect("plain", "output");
    EXPECT_EQ(namesOf(graph.search("roto", isOutput)), (Names{"roto", "plain", "output"}));
}

TEST(PiGraphSearchTest, PathsCompareByTheirNodes) {
    Graph graph;
    const NodePtr a = graph.node("a");
    const NodePtr b = graph.node("b");
    const RCShdPtr<PiPath const> ab(new PiPath(Vector<NodePtr>{a, b}));
    const RCShdPtr<PiPath const> sameNodes(new PiPath(Vector<NodePtr>{a, b}));
    const RCShdPtr<PiPath const> ba(new PiPath(Vector<NodePtr>{b, a}));
    const RCShdPtr<PiPath const> prefix(new PiPath(Vector<NodePtr>{a}));

    EXPECT_TRUE(PiPath::areEqual(ab, sameNodes));
    EXPECT_FALSE(PiPath::areEqual(ab, ba));
    EXPECT_FALSE(PiPath::areEqual(ab, prefix));
    EXPECT_FALSE(PiPath::areEqual(prefix, ab));
    EXPECT_FALSE(PiPath::areEqual(ab, RCShdPtr<PiPath const>()));
    EXPECT_TRUE(PiPath::areEqual(RCShdPtr<PiPath const>(), RCShdPtr<PiPath const>()));
    EXPECT_TRUE(ab->getNode(2).isNull());

    std::ostringstream text;
    ab->dump(text);
    EXPECT_EQ(text.str(), "a#" + std::to_string(a->getId()) + " > b#" + std::to_string(b->getId()));
}

} // namespace PiGraphSearchTesting
} // namespace Vo

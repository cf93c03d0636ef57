#pragma once

#include "../../foundation/RCShdPtr.h"
#include "../../foundation/Vector.h"
#include "../VoHostExport.h"
#include "PiGraphObject.h"
#include "PiGraphObjectList.h"
#include "PiInput.h"
#include "PiMultivaluedInput.h"

#include <string>

namespace Vo {

class PiGraph;
class PiStructuredInput;

/// A node of a composition graph: named, flagged as a tool and/or a primary output, connected to
/// the nodes downstream of it. Owns its inputs and the graph objects that stand for things inside
/// it (a tool node's shapes). Refers to its graph and its downstream nodes by plain pointers: the
/// graph keeps every node alive and clears those pointers when it is destroyed, so a node that
/// outlives its graph has neither graph nor connections. Made only by PiGraph::addNode.
/// Thread safety: as PiGraphObject.
class VO_HOST_API PiNode : public PiGraphObject {
public:
    /// The flags of PiGraph::addNode, combined with |.
    enum Flags : int { NoFlags = 0, Tool = 1, PrimaryOutput = 2 };

    ///@{
    /// Whether the node is a tool node; whether it is a primary output.
    bool isTool() const noexcept;
    bool isPrimaryOutput() const noexcept;
    ///@}
    const PiNode *asNode() const noexcept override { return this; }
    /// The graph; null once the graph is gone.
    RCShdPtr<PiGraph> getGraph() const;

    /// The number of nodes this one feeds.
    int getNbDownstream() const noexcept;
    /// The nodes this one feeds, in the order of connection; null out of range.
    /// \param index the node's place, 0 .. getNbDownstream() - 1
    RCShdPtr<PiNode> getDownstream(int index) const;

    /// The number of inputs of the node itself.
    int getNbInputs() const noexcept;
    /// Inputs in creation order; null out of range.
    /// \param index the input's place, 0 .. getNbInputs() - 1
    RCShdPtr<PiInput> getInput(int index) const;
    /// The input of that name (names are unique within a node); null when absent.
    /// \param name the input's name
    RCShdPtr<PiInput> findInput(const std::string &name) const;

    /// The number of objects the node owns.
    int getNbObjects() const noexcept;
    /// The objects the node owns, in creation order; null out of range.
    /// \param index the object's place, 0 .. getNbObjects() - 1
    RCShdPtr<PiGraphObject> getObject(int index) const;

    ///@{
    /// Builders. Every new object takes a fresh id from the graph. The input builders give null,
    /// adding nothing, when the node already has an input of that name. All raise RCExNullPtr
    /// naming `Vo::PiGraph*` when the node has outlived its graph.
    /// \param name the new object's name
    RCShdPtr<PiGraphObject> addObject(const std::string &name);
    RCShdPtr<PiInput> addInput(const std::string &name);
    RCShdPtr<PiStructuredInput> addStructuredInput(const std::string &name);
    ///@}
    /// A multi-valued input, built as the builders above build.
    /// \param name the new input's name
    /// \param elementKind what each element is made as
    /// \param componentNames the components of each composite or structured element, in order
    RCShdPtr<PiMultivaluedInput> addMultivaluedInput(const std::string &name,
                                                     PiMultivaluedInput::ElementKind elementKind,
                                                     const Vector<std::string> &componentNames);
    /// A curve: a structured input whose multi-valued "Points" holds nbPoints composite points
    /// with components "x" and "y". Built as the builders above build.
    /// \param name the new input's name
    /// \param nbPoints the number of points; none when 0 or less
    RCShdPtr<PiStructuredInput> addCurveInput(const std::string &name, int nbPoints);
    /// A curve whose "Points" is one plain input holding every point. Built as the builders above
    /// build.
    /// \param name the new input's name
    RCShdPtr<PiStructuredInput> addSingleValuedCurveInput(const std::string &name);
    /// A gradient: a multi-valued input of nbHandles structured handles with sub-inputs "position"
    /// and "color". Built as the builders above build.
    /// \param name the new input's name
    /// \param nbHandles the number of handles; none when 0 or less
    RCShdPtr<PiMultivaluedInput> addGradientInput(const std::string &name, int nbHandles);

    /// Removal of what the node owns: the object (the input, with every input it holds) leaves the
    /// node's list and is cut off from the node, so it reports no owner node and no search reaches
    /// it. Whoever still holds it shared (a selection item, a shape) keeps a live object that
    /// compares as before; an application that wants it out of a selection removes its items
    /// itself. Ids are not reused. False, removing nothing, when it is not one of the node's own
    /// objects (inputs); an input inside another input is removed through its container.
    /// \param object the object removed
    bool removeObject(const PiGraphObject &object) noexcept;
    /// The same for one of the node's inputs.
    /// \param input the input removed
    bool removeInput(const PiInput &input) noexcept;

protected:
    /// Cuts its inputs and objects off first, so that those still shared elsewhere report no node.
    ~PiNode() noexcept override;

private:
    friend class PiGraph;

    PiNode(PiGraph &graph, int id, std::string name, int flags) noexcept;

    /// Called by the graph: false when the connection exists already.
    bool addDownstream(PiNode &node);
    /// Called by the graph's destructor and removeNode: forgets the graph and every connection.
    void leaveGraph() noexcept;
    /// Called by the graph's removeNode: forgets a connection to node, if it has one.
    void removeDownstream(const PiNode &node) noexcept;

    PiGraph *graph;
    int flags;
    Vector<PiNode *> downstream;
    PiGraphObjectList<PiInput> inputs;
    PiGraphObjectList<PiGraphObject> objects;
};

} // namespace Vo

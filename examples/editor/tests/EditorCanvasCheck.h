#pragma once

// What the canvas draws and picks against the document's values, read afresh: its table against
// the document's description of the shapes and their selection, its geometry (what the painter
// draws through the layout) against the positions the graph's inputs hold, and its spatial index
// (what picking searches) against the geometry. Shared by the editor's test programs.

#include "EditorWindow.h"
#include "SessionPlacement.h"

#include <QPointF>
#include <QRectF>

#include <sstream>
#include <string>
#include <vector>

namespace VoEditorTest {

// Where the document has the point: its inputs' values, or SessionPlacement's place for a
// single-valued curve.
inline QPointF documentPoint(const VoEditor::EditorDocument &document,
                             const VoEditor::EditorShapeView &view, int index) {
    double x = 0;
    double y = 0;
    if (!view.shape->getPoint(index, x, y)) {
        const VoSession::SessionPlacement::Point placed = VoSession::SessionPlacement::getPoint(
            view.slot, document.getPlacementSlots(), index, view.nbPoints);
        return QPointF(placed.x, placed.y);
    }
    return QPointF(x, y);
}

// The first difference found, described; empty when the canvas agrees with the document.
inline std::string canvasDisagreement(VoEditor::EditorWindow &window) {
    const VoEditor::EditorDocument &document = window.getDocument();
    VoEditor::EditorCanvas &canvas = window.getCanvas();
    const VoEditor::EditorShapeTable &table = canvas.getTable();
    const VoEditor::EditorGeometry &geometry = canvas.getGeometry();
    std::ostringstream wrong;
    std::vector<VoEditor::EditorShapeView> views = document.describeShapes();
    std::size_t indexed = 0;
    for (const VoEditor::EditorShapeView &read : views) {
        const VoEditor::EditorShapeView &kept = table.getView(read.slot);
        if (kept.shape != read.shape || kept.nbPoints != read.nbPoints ||
            kept.nbHandles != read.nbHandles || kept.selected != read.selected ||
            kept.primary != read.primary || kept.points != read.points ||
            kept.handles != read.handles) {
            wrong << "the table's view of " << read.name << " differs from the selection";
            return wrong.str();
        }
        indexed += static_cast<std::size_t>(read.nbPoints);
    }
    std::size_t live = 0;
    for (int slot = 0; slot < table.getNbSlots(); ++slot) {
        live += table.getView(slot).shape != nullptr ? 1 : 0;
    }
    if (live != views.size()) {
        wrong << "the table draws " << live << " shapes, the layer has " << views.size();
        return wrong.str();
    }
    for (const VoEditor::EditorShapeView &other : document.describeOtherLayers()) {
        views.push_back(other);
    }
    for (const VoEditor::EditorShapeView &read : views) {
        const VoEditor::EditorGeometry::Shape &drawn = geometry.getShape(read.slot);
        if (static_cast<int>(drawn.points.size()) != read.nbPoints ||
            static_cast<int>(drawn.handles.size()) != read.nbHandles) {
            wrong << read.name << " is drawn with other counts than the graph's";
            return wrong.str();
        }
        for (int index = 0; index < read.nbPoints; ++index) {
            const QPointF at = documentPoint(document, read, index);
            if (drawn.points[static_cast<std::size_t>(index)] != at) {
                wrong << "point " << index << " of " << read.name << " is drawn at ("
                      << drawn.points[static_cast<std::size_t>(index)].x() << ", "
                      << drawn.points[static_cast<std::size_t>(index)].y() << "), the graph has ("
                      << at.x() << ", " << at.y() << ")";
                return wrong.str();
            }
            const std::vector<VoEditor::EditorSpatialIndex::Entry> found = canvas.getIndex().findIn(
                QRectF(at, at).adjusted(-1e-9, -1e-9, 1e-9, 1e-9), read.slot);
            bool listed = false;
            for (const VoEditor::EditorSpatialIndex::Entry &entry : found) {
                listed = listed || entry.index == index;
            }
            if (listed == read.dimmed) {
                wrong << "point " << index << " of " << read.name
                      << (read.dimmed ? " (another layer's) is" : " is not") << " picked there";
                return wrong.str();
            }
        }
        for (int index = 0; index < read.nbHandles; ++index) {
            if (drawn.handles[static_cast<std::size_t>(index)] != read.shape->getHandle(index)) {
                wrong << "handle " << index << " of " << read.name << " is drawn at "
                      << drawn.handles[static_cast<std::size_t>(index)] << ", the graph has "
                      << read.shape->getHandle(index);
                return wrong.str();
            }
        }
    }
    if (canvas.getIndex().size() != indexed) {
        wrong << "the index holds " << canvas.getIndex().size() << " points, the layer " << indexed;
    }
    return wrong.str();
}

} // namespace VoEditorTest

#include "SessionSceneWriter.h"

#include "SessionDecimal.h"

#include "AppLayerInterface.h"

#include <sstream>
#include <vector>

namespace VoSession {

void SessionSceneWriter::write(const Session &session, std::ostream &out) {
    const std::vector<std::string> layers = session.getLayerNames();
    // The described shapes by layer, in the scene's order, in one pass.
    std::vector<std::vector<const std::string *>> names(layers.size());
    for (const SessionScene::Shape &shape : session.getScene().getShapes()) {
        names.at(static_cast<std::size_t>(shape.layer)).push_back(&shape.name);
    }
    for (std::size_t layer = 0; layer < layers.size(); ++layer) {
        if (layer > 0) {
            out << "layer " << layers[layer] << '\n';
        }
        const VoExample::AppLayerInterface &shapes = session.getLayer(layer);
        for (const std::string *name : names[layer]) {
            if (const VoExample::AppShapeInterface *live = shapes.findShape(*name)) {
                writeShape(*live, out);
            }
        }
    }
}

std::string SessionSceneWriter::text(const Session &session) {
    std::ostringstream out;
    write(session, out);
    return out.str();
}

void SessionSceneWriter::writeShape(const VoExample::AppShapeInterface &shape, std::ostream &out) {
    const int nbPoints = shape.getNbPoints();
    const int nbHandles = shape.getNbHandles();
    out << "shape " << shape.getName() << ' ' << nbPoints;
    if (nbHandles > 0 || shape.hasSingleValuedPoints()) {
        out << ' ' << nbHandles;
    }
    out << (shape.hasSingleValuedPoints() ? " single\n" : "\n");
    for (int index = 0; index < nbPoints && !shape.hasSingleValuedPoints(); ++index) {
        double x = 0;
        double y = 0;
        shape.getPoint(index, x, y);
        out << (index % perLine == 0 ? "points " : " ");
        writeNumber(x, out);
        out << ',';
        writeNumber(y, out);
        out << (index % perLine == perLine - 1 || index == nbPoints - 1 ? "\n" : "");
    }
    for (int index = 0; index < nbHandles; ++index) {
        out << (index % perLine == 0 ? "handles " : " ");
        writeNumber(shape.getHandle(index), out);
        out << (index % perLine == perLine - 1 || index == nbHandles - 1 ? "\n" : "");
    }
}

void SessionSceneWriter::writeNumber(double value, std::ostream &out) {
    out << SessionDecimal::write(value);
}

} // namespace VoSession

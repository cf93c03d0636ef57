#include "WebEditor.h"

#include "SessionDemo.h"
#include "SessionHostItems.h"
#include "SessionJsonPrinter.h"
#include "SessionReport.h"
#include "SessionScene.h"
#include "SessionState.h"
#include "SessionText.h"

#include "AppShapeInterface.h"
#include "SeShapeItem.h"
#include "SeShapeParts.h"

#include "foundation/RCWeakAccessor.h"
#include "host/selection/SnSelection.h"

#include <exception>
#include <sstream>
#include <utility>

namespace VoWeb {

using VoSession::SessionJsonWriter;

WebEditor::WebEditor() {
    open(std::string());
}

WebEditor::~WebEditor() = default;

std::string WebEditor::open(const std::string &sceneText) {
    auto fresh = std::make_unique<VoSession::Session>();
    VoSession::SessionScene scene(fresh->getNodeNames());
    std::istringstream text(sceneText.empty() ? VoSession::SessionDemo::scene() : sceneText);
    std::string error;
    if (!scene.read(text, sceneText.empty() ? "<demo>" : "<page>", error)) {
        return error;
    }
    if (const VoSession::SessionScene::Shape *failed = fresh->build(scene)) {
        return "out of memory building the shape " + VoSession::SessionText::quote(failed->name);
    }
    commands.reset(); // it borrows the session it replaces
    session = std::move(fresh);
    commands = std::make_unique<VoSession::SessionCommands>(*session);
    return std::string();
}

std::string WebEditor::getShapes() const {
    SessionJsonWriter json;
    json.beginArray();
    for (const std::string &name : session->getShapeNames()) {
        const VoExample::AppShapeInterface *shape = session->findShape(name);
        json.beginObject().key("name").value(name).key("points").beginArray();
        for (int index = 0; index < shape->getNbPoints(); ++index) {
            double x = 0;
            double y = 0;
            if (shape->getPoint(index, x, y)) {
                json.number(x).number(y);
            } else { // held by one input for the whole curve: no position of its own
                json.null().null();
            }
        }
        json.endArray().endObject();
    }
    json.endArray();
    return json.getText();
}

std::string WebEditor::run(const std::string &line) {
    const std::uint64_t revision = session->getRevisions().first;
    VoSession::SessionReport report;
    try {
        commands->run(VoSession::SessionText::splitWords(line), report);
    } catch (const std::exception &failure) {
        report.error = failure.what();
    }
    SessionJsonWriter json;
    json.beginObject().key("error");
    report.error.empty() ? json.null() : json.value(report.error);
    json.key("results").values(report.results).key("change");
    if (session->getRevisions().first == revision) {
        json.null();
    } else {
        writeChange(json);
    }
    json.endObject();
    return json.getText();
}

std::string WebEditor::getSelection() const {
    const VoSession::SessionState state = session->capture();
    SessionJsonWriter json;
    json.beginObject().key("revision");
    json.value(static_cast<long long>(session->getRevisions().first));
    VoSession::SessionJsonPrinter::writeShapes(json, state);
    VoSession::SessionJsonPrinter::writeHost(json, state);
    json.endObject();
    return json.getText();
}

std::string WebEditor::getPrimaryPoints() const {
    Vo::Vector<int> points;
    session->getSelector().getSelectedPoints(points);
    SessionJsonWriter json;
    writeIndices(json, points);
    return json.getText();
}

std::string WebEditor::getEditorSelection() const {
    EditorSelection read;
    if (!readLiveSelection(read)) {
        read = readCapturedSelection();
    }
    SessionJsonWriter json;
    json.beginObject().key("revision");
    json.value(static_cast<long long>(session->getRevisions().first));
    json.key("shapes").values(read.shapes).key("primary");
    read.primary < 0 ? json.null() : json.value(read.shapes[static_cast<std::size_t>(read.primary)]);
    json.key("points");
    writeIndices(json, read.points);
    json.endObject();
    return json.getText();
}

bool WebEditor::readLiveSelection(EditorSelection &read) const {
    Vo::RCShdPtr<Vo::SnSelection const> selection;
    try { // inside a batch, the working selection, as the session's own reading takes it
        selection = session->getSelector().getCurrentSelection();
    } catch (const std::exception &) { // a queued removal that raises: it raises at the end too
        selection = session->getSelector().getSelection();
    }
    const Vo::SnItem *primary = selection->getPrimaryItem().get();
    read.shapes.reserve(static_cast<std::size_t>(selection->getNbItems()));
    for (const Vo::RCShdPtr<Vo::SnItem const> &item : *selection) {
        const auto *shapeItem = dynamic_cast<const Vo::SeShapeItem *>(item.get());
        const Vo::RCWeakAccessor<Vo::SeShapeInterface> alive =
            shapeItem == nullptr ? Vo::RCWeakAccessor<Vo::SeShapeInterface>()
                                 : shapeItem->getData().lock();
        const auto *named = dynamic_cast<const VoExample::AppShapeInterface *>(alive.get());
        if (named == nullptr) {
            return false;
        }
        if (item.get() == primary) {
            read.primary = static_cast<int>(read.shapes.size());
            const auto *parts = dynamic_cast<const Vo::SeShapeParts *>(item->getParts().get());
            if (parts != nullptr) {
                read.points.assign(parts->getPoints().begin(), parts->getPoints().end());
            }
        }
        read.shapes.push_back(named->getName());
    }
    return true;
}

WebEditor::EditorSelection WebEditor::readCapturedSelection() const {
    EditorSelection read;
    for (const VoSession::SessionState::Shape &shape : session->capture().shapes) {
        if (shape.primary) {
            read.primary = static_cast<int>(read.shapes.size());
            read.points.assign(shape.points.begin(), shape.points.end());
        }
        read.shapes.push_back(shape.name);
    }
    return read;
}

std::string WebEditor::getHostSelection(int limit) const {
    const Vo::SnSelection &host = *session->getController().getApplicationSelection();
    VoSession::SessionState first;
    for (const Vo::RCShdPtr<Vo::SnItem const> &item : host) {
        if (static_cast<int>(first.host.size()) >= limit) {
            break;
        }
        first.host.push_back(VoSession::SessionHostItems::describe(*item));
    }
    SessionJsonWriter json;
    json.beginObject().key("count").value(host.getNbItems());
    VoSession::SessionJsonPrinter::writeHost(json, first);
    json.endObject();
    return json.getText();
}

void WebEditor::writeChange(SessionJsonWriter &json) const {
    const Vo::SeSelectionChange &change = session->getSelector().getLastChange();
    json.beginObject().key("whole").value(change.isWhole());
    json.key("revisionBefore").value(static_cast<long long>(change.getRevisionBefore()));
    json.key("revisionAfter").value(static_cast<long long>(change.getRevisionAfter()));
    json.key("removed");
    writeShapes(json, change.getShapesRemoved());
    json.key("added");
    writeShapes(json, change.getShapesAdded());
    json.key("primaryBefore");
    writeShape(json, change.getPrimaryBefore());
    json.key("primaryAfter");
    writeShape(json, change.getPrimaryAfter());
    json.key("partsChanged").value(change.arePartsChanged());
    json.key("partsRewritten").value(change.arePartsRewritten());
    json.key("pointsAdded");
    writeIndices(json, change.getPointsAdded());
    json.key("pointsRemoved");
    writeIndices(json, change.getPointsRemoved());
    json.endObject();
}

void WebEditor::writeShapes(SessionJsonWriter &json,
                            const Vo::Vector<Vo::RCWeakPtr<Vo::SeShapeInterface>> &shapes) {
    json.beginArray();
    for (const Vo::RCWeakPtr<Vo::SeShapeInterface> &shape : shapes) {
        writeShape(json, shape);
    }
    json.endArray();
}

// A shape by its name; null for none, or for one deleted since (the page reads again then).
void WebEditor::writeShape(SessionJsonWriter &json,
                           const Vo::RCWeakPtr<Vo::SeShapeInterface> &shape) {
    const Vo::RCWeakAccessor<Vo::SeShapeInterface> alive = shape.lock();
    const auto *named = dynamic_cast<const VoExample::AppShapeInterface *>(alive.get());
    named == nullptr ? json.null() : json.value(named->getName());
}

void WebEditor::writeIndices(SessionJsonWriter &json, const Vo::Vector<int> &indices) {
    json.beginArray();
    for (const int index : indices) {
        json.value(index);
    }
    json.endArray();
}

} // namespace VoWeb

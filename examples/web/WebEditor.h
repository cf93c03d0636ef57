#pragma once

#include "Session.h"
#include "SessionCommands.h"
#include "SessionJsonWriter.h"

#include "SeSelectionChange.h"
#include "SeShapeInterface.h"

#include "foundation/RCWeakPtr.h"
#include "foundation/Vector.h"

#include <memory>
#include <string>

namespace VoWeb {

// The example application behind a web page: a session built from a scene, its commands run one
// line at a time, and what the page needs to draw the shapes and to follow the selections by what
// changed (the selector's last change) rather than by reading them whole. Answers in JSON. Owns
// the session and its commands.
class WebEditor {
public:
    WebEditor();
    WebEditor(const WebEditor &) = delete;
    WebEditor &operator=(const WebEditor &) = delete;
    ~WebEditor();

    // A new session on the scene's text (the built-in scene when empty); on an error in the text
    // the session stays as it was. The error, or an empty string.
    std::string open(const std::string &sceneText);
    // The active layer's live shapes: [{"name":..., "points":[x0, y0, x1, y1, ...]}, ...]; null,
    // null for a point without a position of its own (a curve held by one single-valued input).
    std::string getShapes() const;
    // Runs one command line: {"error": null or its message, "results": [...], "change": the
    // selector's last change, or null when the editor's selection did not change}.
    std::string run(const std::string &line);
    // Both selections read whole: {"revision": the editor selection's, "editor": [...],
    // "host": [...]} (the session driver's JSON members).
    std::string getSelection() const;
    // The primary shape's selected points in selection order: [...], empty when it has none.
    std::string getPrimaryPoints() const;

private:
    void writeChange(VoSession::SessionJsonWriter &json) const;
    static void writeShapes(VoSession::SessionJsonWriter &json,
                            const Vo::Vector<Vo::RCWeakPtr<Vo::SeShapeInterface>> &shapes);
    static void writeShape(VoSession::SessionJsonWriter &json,
                           const Vo::RCWeakPtr<Vo::SeShapeInterface> &shape);
    static void writeIndices(VoSession::SessionJsonWriter &json, const Vo::Vector<int> &indices);

    std::unique_ptr<VoSession::Session> session;
    std::unique_ptr<VoSession::SessionCommands> commands;
};

} // namespace VoWeb

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
#include <vector>

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
    // The editor's selection as the page's mirror keeps it, read whole: {"revision": ..., "shapes":
    // [the shape of each item, in selection order], "primary": its name or null, "points": its
    // selected points in selection order}. One list of names: a whole change of 10^4 shapes reads
    // in one call, without describing each item's parts or the application's selection.
    std::string getEditorSelection() const;
    // The first `limit` items of the application's selection, as getSelection describes them, and
    // how many it has: {"count": n, "host": [...]}. What a panel shows costs `limit`, not n.
    std::string getHostSelection(int limit) const;

private:
    // The editor's selection as getEditorSelection writes it.
    struct EditorSelection {
        std::vector<std::string> shapes;
        int primary = -1; // its place in shapes
        Vo::Vector<int> points;
    };

    // Names each item by its live shape; false, halfway, at an item of a shape deleted since or
    // of another class.
    bool readLiveSelection(EditorSelection &read) const;
    // Names them as the session's own reading does, the deleted shapes too.
    EditorSelection readCapturedSelection() const;
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

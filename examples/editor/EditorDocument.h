#pragma once

#include "EditorMove.h"
#include "EditorSelectionBridge.h"
#include "EditorShapeView.h"
#include "EditorSlotFinder.h"
#include "EditorUndoHistory.h"

#include "Session.h"
#include "SessionCommands.h"
#include "SessionRunner.h"
#include "SessionScene.h"
#include "SessionTextPrinter.h"

#include "AppLayerInterface.h"

#include "SeShapeSelector.h"

#include <QObject>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <sstream>
#include <string>
#include <unordered_map>
#include <vector>

namespace VoEditor {

// The editor's open scene: the session driver's session (the example application with its shape
// editors, one a layer) built on it, the driver's commands and runner for the command line, the
// bridge that turns the active layer's notifications into Qt signals, and the undo stack. Runs
// every gesture of the views as library calls and reports, for each, which callback lists ran.
// Owns all of it; opening a scene replaces the scene whole and empties the stack. Editor's thread
// only.
class EditorDocument : public QObject {
    Q_OBJECT
public:
    // The driver's built-in scene.
    explicit EditorDocument(QObject *parent = nullptr);
    ~EditorDocument() override;

    // What the scenes opened from now on may describe; the open one keeps its own.
    void setLimits(const VoSession::SessionScene::Limits &bounds) { limits = bounds; }
    const VoSession::SessionScene::Limits &getLimits() const noexcept { return limits; }

    // Replaces the open scene by the one read from in, named source in messages. On a malformed
    // line or a failed read, gives false with error set ("SOURCE:LINE: what is wrong (expected
    // what)") and leaves the open scene, its shapes and both selections exactly as they were.
    bool open(std::istream &in, const std::string &source, std::string &error);
    bool openFile(const std::string &name, std::string &error);
    const std::string &getSource() const noexcept { return source; }
    // The file the scene was opened from or last saved to; empty for the built-in scene or one
    // read from a stream.
    const std::string &getPath() const noexcept { return path; }

    // The open scene's text (SessionSceneWriter): every live shape with its layer, counts and
    // positions. Linear in the points and handles.
    std::string sceneText() const;
    // Writes sceneText() to target through a temporary file beside it, flushed, synced and
    // renamed over it: a failure leaves what target held whole. False with error "TARGET: cannot
    // write the file (REASON)"; on success the scene is no longer modified, target is its file,
    // and saved is emitted.
    bool save(const std::string &target, std::string &error);
    // Shapes, counts or positions changed since the scene was opened or saved: an edit step made
    // and not undone, or a command that added, deleted, inserted or removed.
    bool isModified() const;

    VoSession::Session &getSession() const noexcept { return current->session; }
    // The number of slots a single-valued curve, which has no position per point, is placed among
    // (SessionPlacement): the scene's count when it was opened, kept while shapes are added or
    // built again, so that no such curve moves.
    int getPlacementSlots() const noexcept { return placementSlots; }
    EditorUndoHistory &getHistory() noexcept { return *history; }
    // Makes the layer of that index (Session::getLayerNames) the active one, which republishes its
    // selection; the views follow it. Nothing happens for the active layer or an unknown index.
    // Logged as a gesture, but no undo step: each layer keeps its own selection.
    void activateLayer(int layer);
    // The same from inside a gesture (an undo step going back to its layer): not logged.
    void showLayer(int layer);
    // The active layer's selection, to save.
    Vo::SeSelectionSnapshot captureSelection() const { return current->session.captureSelection(); }
    // Puts a saved selection back as one change (one undo step). An entry that no longer resolves
    // gives false with error naming it, and changes nothing.
    bool restoreSelection(const Vo::SeSelectionSnapshot &snapshot, std::string &error);
    Vo::SeShapeSelector &getSelector() const { return current->session.getSelector(); }
    // Every shape the scene has described, deleted ones included: each keeps its slot.
    int getNbSlots() const;
    // The live shapes in creation order with their part in the editor's selection. Linear in the
    // number of shapes and of selected items.
    std::vector<EditorShapeView> describeShapes() const;
    // The live shapes of the other layers, dimmed, none selected: what the canvas draws under the
    // active layer's. Linear in the number of shapes.
    std::vector<EditorShapeView> describeOtherLayers() const;

    // Runs one gesture's library calls, then logs label with the shape events sent and the
    // callback lists that ran. What the library raises is logged instead and gives false; by the
    // library's commit rule the selections are then as they were before the failing call.
    bool perform(const QString &label, const std::function<void()> &action);
    // Adds a line to the log.
    void note(const QString &line) { Q_EMIT logged(line, false); }
    // Runs one line of the session driver's commands and logs its transcript. A command that
    // fails says why in the log, changes nothing and gives false.
    bool runCommand(const QString &line);
    // Runs the lines of the file at path as one script of the driver's commands: its messages name
    // the file and the line ("PATH:LINE: unknown shape ..."), and a batch may span lines. "-"
    // reads standard input to its end. The file is read first, as load-file reads
    // (SessionFileReader: a regular file, its lines and size bounded), standard input with the
    // same bounds; what cannot be read runs nothing. False, with error set to why it could not
    // be read or to the first failed command's message, when either happened.
    bool runScriptFile(const std::string &path, std::string &error);

    // Writes the move's positions after (before) into the graph, then emits geometryChanged and
    // edited, so that every view shows the values. What an undo stack's step runs; the selections
    // do not change. Costs the points moved, and the views' refresh.
    void applyMove(const EditorMove &move);
    void revertMove(const EditorMove &move);
    // One frame of a drag or one step of a nudge: writes the positions after and emits
    // geometryChanged only, for the canvas; the other views follow at finishMove.
    void previewMove(const EditorMove &move);
    // A drag, a burst of arrow keys or a transform is over: applies it (a move already applied
    // is written again, unchanged), logs it as verb ("Move", "Scale", "Rotate", "Flip") and emits
    // moved, once for the whole burst. A move that changes nothing makes no step.
    void finishMove(const EditorMove &move, const QString &verb = QStringLiteral("Move"));

Q_SIGNALS:
    // Points were written by a move's functions above: the canvas follows them. move is valid
    // while the signal is delivered.
    void geometryChanged(const VoEditor::EditorMove &move);
    // A finished move, applied: what an undo stack records as one step. Emitted after
    // geometryChanged.
    void moved(const VoEditor::EditorMove &move);
    void sceneReplaced();
    // Another layer is active: its shapes and selection are what the views show now.
    void layerActivated();
    // After every gesture and command, whether or not a selection changed: the graph may have.
    void edited();
    // The selector's three callback lists, relayed from the bridge: the editor's selection changed
    // (up to three times for one change; getSelector().getLastChange() says how).
    void editorSelectionChanged();
    // Relayed from the bridge: change is valid while the signal is delivered; null for a change
    // of the whole list.
    void applicationSelectionChanged(const Vo::SnSelectionChangeHint *change);
    // A gesture's report, a command's transcript or a note; failure marks one that failed.
    void logged(const QString &text, bool failure);
    // A gesture or command failed, and why (after its report was logged).
    void failed(const QString &message);
    void quitRequested();
    // The scene was written to getPath().
    void saved();

private:
    // One open scene. Declaration order is destruction order reversed: the bridge leaves the
    // selector's lists first, the session goes last.
    struct Open {
        explicit Open(const VoSession::SessionScene::Limits &limits);

        VoSession::Session session;
        VoSession::SessionCommands commands;
        std::ostringstream transcript;
        std::ostringstream errors;
        VoSession::SessionTextPrinter printer;
        VoSession::SessionRunner runner;
        std::unique_ptr<EditorSelectionBridge> bridge;
    };

    // Builds the scene's shapes in replacement, which then takes the open one's place.
    void install(std::unique_ptr<Open> replacement, const VoSession::SessionScene &scene,
                 const std::string &name);
    std::string takeTranscript();
    // Runs in's lines through the runner, as commands from source; logs the transcript. False,
    // with firstError set to the first error line, when a command failed.
    bool runLines(std::istream &in, const std::string &source, std::string &firstError);
    // input's lines, each at most SessionLineReader::maxLength bytes and all together at most
    // SessionFileReader::defaultMaxBytes; false with error set ("<stdin>:LINE: ...") otherwise.
    static bool readInput(std::istream &input, std::vector<std::string> &lines, std::string &error);
    // A bridge on the active layer's selector, relayed by this document's signals.
    void bind(Open &open);
    EditorSlotFinder slotFinder() const;
    // The layer's shapes in creation order, in their slots, with their counts.
    static std::vector<EditorShapeView> describeLayer(const VoExample::AppLayerInterface &layer,
                                                      EditorSlotFinder &slots);
    // The name of that layer when it is another than the active one; empty otherwise.
    std::string otherLayer(int layer) const;

    VoSession::SessionScene::Limits limits;
    std::unique_ptr<Open> current;
    // The counts of every layer's live shapes, points and handles: what a command that edits the
    // graph (it moves nothing) changes.
    std::array<long long, 3> countAll() const;

    std::string source;
    std::string path;
    int placementSlots = 0;
    // The edit state (EditorUndoHistory::getEditState) the file holds.
    std::uint64_t savedEdits = 0;
    // A command edited the graph since: no step leads back to what the file holds.
    bool editedByCommand = false;
    EditorUndoHistory *history = nullptr;
    // Why the last gesture that failed did: what a refused load of a selection reports.
    QString lastFailure;
};

} // namespace VoEditor

#pragma once

#include "EditorEdit.h"
#include "EditorSelectionState.h"
#include "EditorShapeMap.h"
#include "EditorUndoStep.h"

#include <QObject>
#include <QString>
#include <QUndoStack>

#include <cstdint>
#include <functional>
#include <memory>

namespace VoEditor {

class EditorDocument;

// The editor's one undo stack for edits and selection changes (QUndoStack of EditorUndoStep):
// records a selection step after each gesture or command that changed the editor's selection,
// pushes edit steps made through push(), and replays steps through the document, so that each
// undo and redo is logged as a gesture is. With "skip selection changes" set, undo and redo pass
// over selection-only steps to the next edit. Keeps the state the last step left (the next step's
// state before) and the map of shapes built again. Owns its steps; borrows the document.
class EditorUndoHistory : public QObject {
    Q_OBJECT
public:
    // Steps kept; the oldest go first. A step's cost does not depend on it.
    static constexpr int defaultLimit = 1000;

    explicit EditorUndoHistory(EditorDocument &document, int limit = defaultLimit);
    // The stack's own end empties it, which tells no one: the document is going.
    ~EditorUndoHistory() override;

    // Starts afresh from the open scene's selection, with no step (a scene was opened).
    void reset();
    // The editor's selection changed (the library's callbacks ran): the next record compares.
    void noteSelectionChanged() noexcept { changed = true; }
    // After a gesture or command: one selection step when the editor's selection differs from the
    // state the last step left; consecutive changes of parts alone merge (EditorSelectionStep).
    void recordSelection();
    // The present selection becomes the state the next step starts from, with no step (the user
    // switched layers: each layer keeps its selection).
    void rebase();
    // Applies the edit as one gesture, logged under label, and keeps it as the step `text`. False,
    // with no step, when applying it raised (the document logged why).
    bool push(const QString &text, const QString &label, std::unique_ptr<EditorEdit> edit);

    // A number for the graph as the steps up to the stack's position leave it: each edit step
    // made gives a new one, undoing it gives back the one before. Equal numbers, the same shapes,
    // counts and positions, as far as the steps tell (a command's edits are no step).
    std::uint64_t getEditState() const;

    bool canUndo() const { return undoTarget() >= 0; }
    bool canRedo() const { return redoTarget() >= 0; }
    // The step undo (redo) would take back (make again); empty when there is none.
    QString undoText() const;
    QString redoText() const;
    // False, with a line in the log, when there is nothing to undo (redo). A step whose replay
    // fails (a command changed the scene meanwhile) leaves the selection as it was and drops
    // every step, since the later ones would not fit the scene either.
    bool undo();
    bool redo();

    void setSkippingSelection(bool skip);
    // While a step replays or an edit is made: its own changes of the selection make no step.
    bool isBusy() const noexcept { return busy; }
    void setBusy(bool value) noexcept { busy = value; }
    const QUndoStack &getStack() const noexcept { return stack; }
    EditorShapeMap &getShapes() noexcept { return shapes; }

    // For the steps. Puts the state back (its layer first), as one gesture logged under label.
    void replaySelection(const QString &label, const EditorSelectionState &state);
    // Activates the state's layer, runs the edit, then puts the state back, as one logged gesture.
    void replayEdit(const QString &label, const EditorSelectionState &state,
                    const std::function<void()> &edit);

Q_SIGNALS:
    // The steps, the position among them or the preference changed: undo and redo texts may too.
    void stepsChanged();

private:
    // The stack's index undo (redo) would go to; -1 when there is none.
    int undoTarget() const;
    int redoTarget() const;
    const EditorUndoStep &stepAt(int index) const;
    bool isSelectionOnly(int index) const;
    // Pushes the step, made from the edit state before to after.
    void pushStep(EditorUndoStep *step, std::uint64_t editsAfter);
    bool travel(int target, const char *nothing);
    void restore(const EditorSelectionState &state);
    // The active layer's selection now.
    EditorStatePtr capture() const;

    EditorDocument &document;
    QUndoStack stack;
    EditorShapeMap shapes;
    // The selection as the last step (or reset) left it.
    EditorStatePtr recorded;
    bool changed = false;
    bool busy = false;
    bool skippingSelection = false;
    // The edit state below the stack's first step, when it has none; the last number given.
    std::uint64_t baseEdits = 0;
    std::uint64_t lastEdits = 0;
    // Set while undo or redo passes over selection steps: they restore nothing.
    bool passing = false;
    // A replay raised: the stack is dropped once the travel is over.
    bool failed = false;
};

} // namespace VoEditor

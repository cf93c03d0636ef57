#include "EditorUndoHistory.h"

#include "EditorDocument.h"
#include "EditorEditStep.h"
#include "EditorSelectionStep.h"
#include "EditorUndoStep.h"

#include <utility>

namespace VoEditor {

EditorUndoHistory::EditorUndoHistory(EditorDocument &editorDocument, int limit)
    : QObject(&editorDocument), document(editorDocument) {
    stack.setUndoLimit(limit);
    connect(&stack, &QUndoStack::indexChanged, this, &EditorUndoHistory::stepsChanged);
    reset();
}

EditorUndoHistory::~EditorUndoHistory() { disconnect(&stack, nullptr, this, nullptr); }

void EditorUndoHistory::reset() {
    stack.clear();
    baseEdits = ++lastEdits;
    shapes.clear();
    rebase();
    Q_EMIT stepsChanged();
}

void EditorUndoHistory::recordSelection() {
    if (busy || !changed) {
        return;
    }
    EditorStatePtr now = capture();
    changed = false;
    if (now->isSameSelection(*recorded)) {
        return;
    }
    EditorStatePtr before = std::exchange(recorded, now);
    pushStep(new EditorSelectionStep(*this, before, now), getEditState());
}

void EditorUndoHistory::pushStep(EditorUndoStep *step, std::uint64_t editsAfter) {
    step->setEditStates(getEditState(), editsAfter);
    stack.push(step);
}

std::uint64_t EditorUndoHistory::getEditState() const {
    const int index = stack.index();
    if (index > 0) {
        return stepAt(index - 1).getEditsAfter();
    }
    return stack.count() > 0 ? stepAt(0).getEditsBefore() : baseEdits;
}

void EditorUndoHistory::rebase() {
    recorded = capture();
    changed = false;
}

EditorStatePtr EditorUndoHistory::capture() const {
    return std::make_shared<EditorSelectionState>(
        EditorSelectionState::capture(document.getSession()));
}

bool EditorUndoHistory::push(const QString &text, const QString &label,
                             std::unique_ptr<EditorEdit> edit) {
    recordSelection();
    busy = true;
    const bool made = document.perform(label, [&edit] { edit->apply(); });
    busy = false;
    if (!made) {
        return false;
    }
    EditorStatePtr after = capture();
    changed = false;
    EditorStatePtr before = std::exchange(recorded, after);
    pushStep(new EditorEditStep(*this, before, after, text, std::move(edit)), ++lastEdits);
    return true;
}

const EditorUndoStep &EditorUndoHistory::stepAt(int index) const {
    return *static_cast<const EditorUndoStep *>(stack.command(index));
}

bool EditorUndoHistory::isSelectionOnly(int index) const { return stepAt(index).isSelectionOnly(); }

int EditorUndoHistory::undoTarget() const {
    int index = stack.index() - 1;
    while (skippingSelection && index >= 0 && isSelectionOnly(index)) {
        --index;
    }
    return index;
}

int EditorUndoHistory::redoTarget() const {
    int index = stack.index();
    while (skippingSelection && index < stack.count() && isSelectionOnly(index)) {
        ++index;
    }
    return index < stack.count() ? index + 1 : -1;
}

QString EditorUndoHistory::undoText() const {
    const int target = undoTarget();
    return target < 0 ? QString() : stack.command(target)->text();
}

QString EditorUndoHistory::redoText() const {
    const int target = redoTarget();
    return target < 0 ? QString() : stack.command(target - 1)->text();
}

bool EditorUndoHistory::undo() { return travel(undoTarget(), "  nothing to undo"); }

bool EditorUndoHistory::redo() { return travel(redoTarget(), "  nothing to redo"); }

bool EditorUndoHistory::travel(int target, const char *nothing) {
    recordSelection();
    if (target < 0) {
        document.note(QString::fromLatin1(nothing));
        return false;
    }
    passing = skippingSelection;
    failed = false;
    stack.setIndex(target);
    passing = false;
    if (failed) {
        document.note(
            QStringLiteral("  the undo steps were dropped: the scene no longer fits them"));
        stack.clear();
        baseEdits = ++lastEdits; // where the failed replay left the graph, no step knows
    }
    rebase();
    Q_EMIT stepsChanged();
    return !failed;
}

void EditorUndoHistory::setSkippingSelection(bool skip) {
    skippingSelection = skip;
    Q_EMIT stepsChanged();
}

void EditorUndoHistory::replaySelection(const QString &label, const EditorSelectionState &state) {
    if (passing || failed) {
        return;
    }
    busy = true;
    failed = !document.perform(label, [&] {
        document.showLayer(state.getLayer());
        restore(state);
    });
    busy = false;
}

void EditorUndoHistory::replayEdit(const QString &label, const EditorSelectionState &state,
                                   const std::function<void()> &edit) {
    if (failed) {
        return;
    }
    busy = true;
    failed = !document.perform(label, [&] {
        document.showLayer(state.getLayer());
        edit();
        restore(state);
    });
    busy = false;
}

void EditorUndoHistory::restore(const EditorSelectionState &state) {
    for (const std::string &left : state.restore(document.getSession(), shapes)) {
        document.note(QStringLiteral("  left out: ") + QString::fromStdString(left));
    }
}

} // namespace VoEditor

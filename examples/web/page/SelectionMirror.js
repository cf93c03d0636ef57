// The page's copy of the editor's selection, kept by the library's change deltas: the selected
// shapes (by name, with how many items each has), the primary shape and its selected points in
// selection order. A change it cannot apply (one reported whole, one that does not follow the
// revision it holds, one naming a shape deleted since) makes it read the selection whole again.
class SelectionMirror {
  constructor(editor) {
    this.editor = editor;
    this.followed = 0; // changes applied as deltas
    this.reread = 0; // whole readings
    this.read();
  }

  // The selection as the mirror shows it: {shapes: [names, in the order they came], primary,
  // points}.
  get state() {
    return {shapes: [...this.counts.keys()], primary: this.primary, points: [...this.points]};
  }

  // The editor's selection read whole, in one call giving the items' shapes as one list.
  read() {
    this.reread += 1;
    const selection = JSON.parse(this.editor.getEditorSelection());
    this.revision = selection.revision;
    this.counts = new Map();
    for (const name of selection.shapes) {
      this.counts.set(name, (this.counts.get(name) || 0) + 1);
    }
    this.primary = selection.primary;
    this.points = selection.points;
  }

  // Applies a command's change (null: the selection did not change).
  follow(change) {
    if (change === null) {
      return;
    }
    const names = [...change.removed, ...change.added, change.primaryAfter];
    const applied = !change.whole && change.revisionBefore === this.revision &&
        !names.slice(0, -1).includes(null) &&
        (change.partsChanged ? this.followParts(change) : this.followShapes(change));
    if (applied) {
      this.followed += 1;
      this.revision = change.revisionAfter;
    } else {
      this.read();
    }
  }

  followParts(change) {
    if (change.partsRewritten || change.primaryAfter !== this.primary) {
      return false;
    }
    const removed = new Set(change.pointsRemoved);
    this.points = this.points.filter((point) => !removed.has(point)).concat(change.pointsAdded);
    return true;
  }

  followShapes(change) {
    for (const name of change.removed) {
      const count = (this.counts.get(name) || 0) - 1;
      if (count < 0) {
        return false;
      }
      count === 0 ? this.counts.delete(name) : this.counts.set(name, count);
    }
    for (const name of change.added) {
      this.counts.set(name, (this.counts.get(name) || 0) + 1);
    }
    // The primary item taken out and put in again (its parts changed with other items) brings
    // parts of its own.
    if (change.primaryAfter !== this.primary || change.added.includes(change.primaryAfter)) {
      this.primary = change.primaryAfter;
      this.points = this.primary === null ? [] : JSON.parse(this.editor.getPrimaryPoints());
    }
    return true;
  }
}

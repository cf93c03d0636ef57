// The page: draws the scene's shapes on the canvas and turns clicks, Shift+clicks, dragged
// rectangles, undo and redo into the session's commands; shows the editor's selection as its
// mirror follows it and the application's selection beside it. The canvas is drawn once a frame
// however many changes came in it, from each shape's outline made once, a style at a time; what
// no selection changes (names, points) and the scene with nothing or everything selected (what
// select-all and clearing draw) are drawn once aside.
const pointRadius = 6; // pixels around a point that pick it
const dragStart = 4; // pixels the pointer moves before a press becomes a rectangle
const listed = 200; // lines a panel lists; it counts the rest
// Outlines by what the shape is, drawn in this order: the selected over the others, the primary
// shape's stroke over all. A stroke is drawn once per offset: the selected outline's 2 pixels are
// three 1-pixel passes 0.4 pixel apart, which the canvas draws as hairlines (one 2-pixel stroke
// of 10^4 outlines took it 30 to 40 times as long).
const outlineStyles = {
  plain: {fill: 'rgba(0, 0, 0, 0.03)', width: 1, stroke: '#888', offsets: [0]},
  selected: {fill: 'rgba(40, 110, 220, 0.15)', width: 1, stroke: '#286edc', offsets: [-0.4, 0, 0.4]},
  primary: {fill: null, width: 3, stroke: '#d2691e', offsets: [0]},
};

function paintOutline(context, style, outline) {
  if (style.fill) {
    context.fillStyle = style.fill;
    context.fill(outline);
  }
  context.lineWidth = style.width;
  context.strokeStyle = style.stroke;
  for (const offset of style.offsets) {
    context.setTransform(1, 0, 0, 1, offset, offset);
    context.stroke(outline);
  }
  context.setTransform(1, 0, 0, 1, 0, 0);
}

class SelectionPage {
  // sceneText: a scene to open instead of the built-in one (its error is raised).
  constructor(module, elements, sceneText = '') {
    this.editor = new module.Editor();
    this.elements = elements;
    const error = sceneText ? this.editor.open(sceneText) : '';
    if (error) {
      throw new Error(error);
    }
    this.shapes = JSON.parse(this.editor.getShapes());
    this.mirror = new SelectionMirror(this.editor);
    this.log = [];
    this.frameRequested = false;
    this.fit();
    this.drawMarks();
    this.listen();
    this.show();
  }

  // Runs one command line, follows its change, and shows the result; gives the command's answer.
  run(line) {
    const answer = JSON.parse(this.editor.run(line));
    this.mirror.follow(answer.change);
    this.log.unshift((answer.error ? '! ' : '> ') + line + (answer.error ? ': ' + answer.error : ''));
    this.log.length = Math.min(this.log.length, 8); // what the panel shows
    this.show();
    return answer;
  }

  // The mirror beside the editor's selection as the session describes it whole (every item with
  // its parts, with the application's selection): the test's check that following the changes and
  // the mirror's quicker whole reading stayed exact. Items counted per shape.
  compare() {
    const whole = {counts: new Map(), primary: null, points: []};
    for (const entry of JSON.parse(this.editor.getSelection()).editor) {
      whole.counts.set(entry.shape, (whole.counts.get(entry.shape) || 0) + 1);
      if (entry.primary) {
        whole.primary = entry.shape;
        whole.points = entry.parts ? entry.parts.points.map((point) => point.index) : [];
      }
    }
    const plain = (state, counts) => ({shapes: [...counts.keys()], counts: [...counts.entries()].sort(),
                                       primary: state.primary, points: [...state.points]});
    return {mirror: plain(this.mirror, this.mirror.counts), whole: plain(whole, whole.counts)};
  }

  // Scene units to canvas pixels: the shapes' bounds fill the canvas, y upwards. A point without
  // a position of its own (null) is not drawn, and cannot be picked.
  fit() {
    const all = this.shapes.flatMap((shape) => shape.points).filter((value) => value !== null);
    const xs = all.filter((_, at) => at % 2 === 0);
    const ys = all.filter((_, at) => at % 2 === 1);
    const [left, right, bottom, top] = [Math.min(...xs), Math.max(...xs), Math.min(...ys), Math.max(...ys)];
    const canvas = this.elements.canvas;
    const margin = 30;
    this.scale = Math.min((canvas.width - 2 * margin) / Math.max(right - left, 1),
                          (canvas.height - 2 * margin) / Math.max(top - bottom, 1));
    this.origin = {x: margin - left * this.scale, y: canvas.height - margin + bottom * this.scale};
    for (const shape of this.shapes) {
      shape.screen = [];
      for (let at = 0; at < shape.points.length; at += 2) {
        const placed = shape.points[at] !== null;
        shape.screen.push(placed ? this.toScreen(shape.points[at], shape.points[at + 1]) : null);
      }
      shape.placed = shape.screen.filter((p) => p !== null);
      shape.outline = new Path2D();
      shape.placed.forEach((p, at) => (at === 0 ? shape.outline.moveTo(p.x, p.y) : shape.outline.lineTo(p.x, p.y)));
      shape.outline.closePath();
    }
    this.drawn = this.shapes.filter((shape) => shape.placed.length > 0);
  }

  toScreen(x, y) {
    return {x: this.origin.x + x * this.scale, y: this.origin.y - y * this.scale};
  }

  // What lies under a canvas position: {shape, point} (point -1 for the outline), or null.
  hit(at) {
    const near = (p) => p !== null && Math.hypot(p.x - at.x, p.y - at.y) <= pointRadius;
    const order = [...this.shapes].sort((a, b) =>
      (b.name === this.mirror.primary) - (a.name === this.mirror.primary));
    for (const shape of order) {
      const point = shape.screen.findIndex(near);
      if (point >= 0) {
        return {shape: shape.name, point};
      }
    }
    const inside = this.shapes.filter((shape) => this.contains(shape.screen, at));
    return inside.length > 0 ? {shape: inside[inside.length - 1].name, point: -1} : null;
  }

  contains(points, at) {
    const polygon = points.filter((p) => p !== null);
    let inside = false;
    for (let i = 0, j = polygon.length - 1; i < polygon.length; j = i++) {
      const [a, b] = [polygon[i], polygon[j]];
      if ((a.y > at.y) !== (b.y > at.y) && at.x < (b.x - a.x) * (at.y - a.y) / (b.y - a.y) + a.x) {
        inside = !inside;
      }
    }
    return inside;
  }

  // A click: a point of the primary shape alone, added or taken out (Shift); a point of another
  // shape makes it primary with that point; a shape alone, or added or taken out (Shift); the
  // empty canvas clears the selection (unless Shift).
  click(at, shift) {
    const hit = this.hit(at);
    const selected = this.mirror.state.shapes;
    if (hit === null) {
      return shift ? null : this.run('select');
    }
    if (hit.point >= 0 && hit.shape === this.mirror.primary) {
      const chosen = this.mirror.points.includes(hit.point);
      const verb = !shift ? 'select-point' : chosen ? 'unselect-point' : 'add-point';
      return this.run(verb + ' ' + hit.point);
    }
    if (hit.point >= 0 && !shift) {
      return this.run('primary ' + hit.shape + ' ' + hit.point);
    }
    if (!shift) {
      return this.run('select ' + hit.shape);
    }
    const toggled = selected.includes(hit.shape) ? selected.filter((name) => name !== hit.shape)
                                                 : [...selected, hit.shape];
    return this.run(['select', ...toggled].join(' '));
  }

  // A dragged rectangle: the primary shape's points in it, when it catches any, else the shapes
  // with a point in it; alone, or after what is selected (Shift).
  rectangle(from, to, shift) {
    const [left, right] = [Math.min(from.x, to.x), Math.max(from.x, to.x)];
    const [top, bottom] = [Math.min(from.y, to.y), Math.max(from.y, to.y)];
    const caught = (p) => p !== null && p.x >= left && p.x <= right && p.y >= top && p.y <= bottom;
    const primary = this.shapes.find((shape) => shape.name === this.mirror.primary);
    const points = primary ? primary.screen.flatMap((p, index) => (caught(p) ? [index] : [])) : [];
    if (points.length > 0) {
      const kept = shift ? this.mirror.points : [];
      const list = kept.concat(points.filter((index) => !kept.includes(index)));
      return this.run('select-points ' + list.join(' '));
    }
    const shapes = this.shapes.filter((shape) => shape.screen.some(caught)).map((s) => s.name);
    if (shapes.length === 0) {
      return null;
    }
    const kept = shift ? this.mirror.state.shapes : [];
    return this.run(['select', ...kept, ...shapes.filter((name) => !kept.includes(name))].join(' '));
  }

  listen() {
    const canvas = this.elements.canvas;
    const position = (event) => {
      const box = canvas.getBoundingClientRect();
      return {x: event.clientX - box.left, y: event.clientY - box.top};
    };
    canvas.addEventListener('mousedown', (event) => {
      this.press = {from: position(event), to: position(event), dragging: false};
    });
    canvas.addEventListener('mousemove', (event) => {
      if (this.press) {
        this.press.to = position(event);
        const moved = Math.hypot(this.press.to.x - this.press.from.x, this.press.to.y - this.press.from.y);
        this.press.dragging = this.press.dragging || moved >= dragStart;
        this.requestDraw();
      }
    });
    canvas.addEventListener('mouseup', (event) => {
      const press = this.press;
      this.press = null;
      if (press) {
        press.dragging ? this.rectangle(press.from, position(event), event.shiftKey)
                       : this.click(press.from, event.shiftKey);
        this.requestDraw();
      }
    });
    this.elements.undo.addEventListener('click', () => this.run('undo'));
    this.elements.redo.addEventListener('click', () => this.run('redo'));
    this.elements.all.addEventListener('click', () => this.run('select-all-shapes'));
    document.addEventListener('keydown', (event) => {
      if ((event.ctrlKey || event.metaKey) && event.key.toLowerCase() === 'z') {
        this.run(event.shiftKey ? 'redo' : 'undo');
        event.preventDefault();
      }
    });
  }

  // The panels now, the canvas at the next frame.
  show() {
    const {primary, points} = this.mirror;
    const names = [];
    for (const name of this.mirror.counts.keys()) {
      if (names.length === listed) {
        break;
      }
      names.push(name === primary ? name + '*' + (points.length ? ' points ' + points.join(' ') : '') : name);
    }
    this.elements.editor.textContent = this.listing(names, this.mirror.counts.size);
    const host = JSON.parse(this.editor.getHostSelection(listed));
    this.elements.host.textContent = this.listing(host.host.map((item) =>
      item.kind + ' ' + item.name + (item.path ? ' via ' + item.path.join('/') : '')), host.count);
    this.elements.log.textContent = this.log.join('\n');
    this.elements.status.textContent = 'changes followed: ' + this.mirror.followed +
        ', read whole: ' + this.mirror.reread;
    this.requestDraw();
  }

  // The first lines of a list of count, and how many more there are.
  listing(lines, count) {
    if (count === 0) {
      return '(nothing)';
    }
    return lines.join('\n') + (count > lines.length ? '\n... ' + (count - lines.length) + ' more' : '');
  }

  requestDraw() {
    if (!this.frameRequested) {
      this.frameRequested = true;
      requestAnimationFrame(() => this.frameRequested && this.draw());
    }
  }

  // Draws the canvas now; the frame asked for draws nothing more.
  draw() {
    this.frameRequested = false;
    const canvas = this.elements.canvas;
    const context = canvas.getContext('2d');
    const {counts, primary, points} = this.mirror;
    context.clearRect(0, 0, canvas.width, canvas.height);
    const nbSelected = this.drawn.reduce((sum, shape) => sum + counts.has(shape.name), 0);
    if (nbSelected === 0 || nbSelected === this.drawn.length) {
      context.drawImage(this.uniform[nbSelected === 0 ? 'plain' : 'selected'], 0, 0);
    } else {
      const outlines = {plain: new Path2D(), selected: new Path2D()};
      for (const shape of this.drawn) {
        outlines[counts.has(shape.name) ? 'selected' : 'plain'].addPath(shape.outline);
      }
      paintOutline(context, outlineStyles.plain, outlines.plain);
      paintOutline(context, outlineStyles.selected, outlines.selected);
    }
    const chosen = this.drawn.find((shape) => shape.name === primary);
    if (chosen) {
      paintOutline(context, outlineStyles.primary, chosen.outline);
    }
    context.drawImage(this.marks, 0, 0);
    points.forEach((index, rank) => {
      const p = chosen && chosen.screen[index];
      if (p) {
        this.drawPoint(context, p, '#d2691e');
        context.fillStyle = '#d2691e';
        context.fillText(String(rank + 1), p.x + 6, p.y + 14);
      }
    });
    if (this.press && this.press.dragging) {
      const {from, to} = this.press;
      context.setLineDash([4, 3]);
      context.lineWidth = 1;
      context.strokeStyle = '#286edc';
      context.strokeRect(from.x, from.y, to.x - from.x, to.y - from.y);
      context.setLineDash([]);
    }
  }

  // What no selection changes, drawn once aside: the shapes' names and their points, unselected;
  // and every outline plain, and every one selected.
  drawMarks() {
    this.marks = this.aside();
    const context = this.marks.getContext('2d');
    context.font = '12px sans-serif';
    for (const shape of this.drawn) {
      context.fillStyle = '#333';
      context.fillText(shape.name, shape.placed[0].x + 8, shape.placed[0].y - 8);
      shape.placed.forEach((p) => this.drawPoint(context, p, '#fff'));
    }
    this.elements.canvas.getContext('2d').font = context.font;
    const all = new Path2D();
    this.drawn.forEach((shape) => all.addPath(shape.outline));
    this.uniform = {};
    for (const style of ['plain', 'selected']) {
      this.uniform[style] = this.aside();
      paintOutline(this.uniform[style].getContext('2d'), outlineStyles[style], all);
    }
  }

  // A canvas the size of the page's, kept off the page.
  aside() {
    const canvas = document.createElement('canvas');
    canvas.width = this.elements.canvas.width;
    canvas.height = this.elements.canvas.height;
    return canvas;
  }

  drawPoint(context, p, fill) {
    context.fillStyle = fill;
    context.strokeStyle = '#333';
    context.lineWidth = 1;
    context.fillRect(p.x - 4, p.y - 4, 8, 8);
    context.strokeRect(p.x - 4, p.y - 4, 8, 8);
  }
}

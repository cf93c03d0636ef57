// The page: draws the scene's shapes on the canvas and turns clicks, Shift+clicks, dragged
// rectangles, undo and redo into the session's commands; shows the editor's selection as its
// mirror follows it and the application's selection beside it.
const pointRadius = 6; // pixels around a point that pick it
const dragStart = 4; // pixels the pointer moves before a press becomes a rectangle

class SelectionPage {
  constructor(module, elements) {
    this.editor = new module.Editor();
    this.elements = elements;
    this.shapes = JSON.parse(this.editor.getShapes());
    this.mirror = new SelectionMirror(this.editor);
    this.log = [];
    this.fit();
    this.listen();
    this.show();
  }

  // Runs one command line, follows its change, and shows the result; gives the command's answer.
  run(line) {
    const answer = JSON.parse(this.editor.run(line));
    this.mirror.follow(answer.change);
    this.log.unshift((answer.error ? '! ' : '> ') + line + (answer.error ? ': ' + answer.error : ''));
    this.show();
    return answer;
  }

  // The mirror beside the selection read whole: the test's check that following stayed exact.
  compare() {
    const whole = new SelectionMirror(this.editor).state;
    return {mirror: this.mirror.state, whole};
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
    }
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
        this.draw();
      }
    });
    canvas.addEventListener('mouseup', (event) => {
      const press = this.press;
      this.press = null;
      if (press) {
        press.dragging ? this.rectangle(press.from, position(event), event.shiftKey)
                       : this.click(press.from, event.shiftKey);
        this.draw();
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

  show() {
    const state = this.mirror.state;
    this.elements.editor.textContent = state.shapes.length === 0 ? '(nothing)' : state.shapes
      .map((name) => (name === state.primary ? name + '*' + (state.points.length ?
        ' points ' + state.points.join(' ') : '') : name)).join('\n');
    const host = JSON.parse(this.editor.getSelection()).host;
    this.elements.host.textContent = host.length === 0 ? '(nothing)' : host
      .map((item) => item.kind + ' ' + item.name + (item.path ? ' via ' + item.path.join('/') : ''))
      .join('\n');
    this.elements.log.textContent = this.log.slice(0, 8).join('\n');
    this.elements.status.textContent = 'changes followed: ' + this.mirror.followed +
        ', read whole: ' + this.mirror.reread;
    this.draw();
  }

  draw() {
    const context = this.elements.canvas.getContext('2d');
    const state = this.mirror.state;
    context.clearRect(0, 0, this.elements.canvas.width, this.elements.canvas.height);
    context.font = '12px sans-serif';
    for (const shape of this.shapes.filter((s) => s.screen.some((p) => p !== null))) {
      const selected = state.shapes.includes(shape.name);
      const primary = shape.name === state.primary;
      const placed = shape.screen.filter((p) => p !== null);
      context.beginPath();
      placed.forEach((p, at) => (at === 0 ? context.moveTo(p.x, p.y) : context.lineTo(p.x, p.y)));
      context.closePath();
      context.fillStyle = selected ? 'rgba(40, 110, 220, 0.15)' : 'rgba(0, 0, 0, 0.03)';
      context.fill();
      context.lineWidth = primary ? 3 : selected ? 2 : 1;
      context.strokeStyle = primary ? '#d2691e' : selected ? '#286edc' : '#888';
      context.stroke();
      context.fillStyle = '#333';
      context.fillText(shape.name, placed[0].x + 8, placed[0].y - 8);
      shape.screen.forEach((p, index) => {
        if (p === null) {
          return;
        }
        const rank = primary ? state.points.indexOf(index) : -1;
        context.fillStyle = rank >= 0 ? '#d2691e' : '#fff';
        context.strokeStyle = '#333';
        context.lineWidth = 1;
        context.fillRect(p.x - 4, p.y - 4, 8, 8);
        context.strokeRect(p.x - 4, p.y - 4, 8, 8);
        if (rank >= 0) {
          context.fillStyle = '#d2691e';
          context.fillText(String(rank + 1), p.x + 6, p.y + 14);
        }
      });
    }
    if (this.press && this.press.dragging) {
      const {from, to} = this.press;
      context.setLineDash([4, 3]);
      context.strokeStyle = '#286edc';
      context.strokeRect(from.x, from.y, to.x - from.x, to.y - from.y);
      context.setLineDash([]);
    }
  }
}

// Select-all of many shapes as the page does it, from the click to the drawn canvas: the command
// through the module (the selector, the application's selection it mirrors into, the history that
// records the change, the change's JSON), the page's mirror following the change, its panels, and
// the canvas drawn as the next frame draws it and rasterized (one pixel read back). Each phase's
// median over the repetitions, and the whole's median, least and most.
function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = Math.floor(sorted.length / 2);
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

// Times each call of object[method] into the open repetition's phase, when one is open.
function timePhase(object, method, phase, repetition) {
  const original = object[method].bind(object);
  object[method] = (...args) => {
    const start = performance.now();
    try {
      return original(...args);
    } finally {
      if (repetition.open) {
        repetition.phases[phase] += performance.now() - start;
      }
    }
  };
}

// count shapes of 3 points, placed on a grid.
function benchScene(count) {
  return Array.from({length: count}, (_, index) => 'shape S' + index + ' 3\n').join('');
}

// One command as a click runs it, with the frame it draws, rasterized (one pixel read back).
function benchCommand(page, line) {
  page.run(line);
  page.draw();
  page.elements.canvas.getContext('2d').getImageData(0, 0, 1, 1);
}

function benchSelectAll(page, repetitions) {
  const count = page.shapes.length;
  const repetition = {open: false, phases: {}};
  timePhase(page.editor, 'run', 'module', repetition);
  timePhase(page.mirror, 'follow', 'mirror', repetition);
  timePhase(page, 'show', 'panels', repetition);
  timePhase(page, 'draw', 'draw', repetition);
  const times = {total: [], module: [], mirror: [], panels: [], draw: []};
  for (let at = -1; at < repetitions; ++at) { // one round first, not counted
    benchCommand(page, 'select');
    repetition.phases = {module: 0, mirror: 0, panels: 0, draw: 0};
    repetition.open = true;
    const start = performance.now();
    benchCommand(page, 'select-all-shapes');
    const total = performance.now() - start;
    repetition.open = false;
    if (page.mirror.counts.size !== count) {
      throw new Error('the mirror holds ' + page.mirror.counts.size + ' shapes, not ' + count);
    }
    if (at >= 0) {
      times.total.push(total);
      for (const [phase, spent] of Object.entries(repetition.phases)) {
        times[phase].push(spent);
      }
    }
  }
  const medians = Object.fromEntries(Object.entries(times).map(([phase, list]) => [phase, median(list)]));
  return {count, repetitions, medianMs: medians.total, minMs: Math.min(...times.total),
          maxMs: Math.max(...times.total), phaseMediansMs: medians, totalsMs: times.total,
          followed: page.mirror.followed, reread: page.mirror.reread};
}

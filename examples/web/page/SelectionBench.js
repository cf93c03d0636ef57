// Select-all of many shapes as the page does it: the command through the module (the selector,
// the application's selection it mirrors into, the history that records the change) and the
// page's mirror following the change. Times of each repetition, their median and spread.
function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  const middle = Math.floor(sorted.length / 2);
  return sorted.length % 2 ? sorted[middle] : (sorted[middle - 1] + sorted[middle]) / 2;
}

function benchSelectAll(module, count, repetitions) {
  const editor = new module.Editor();
  const scene = Array.from({length: count}, (_, index) => 'shape S' + index + ' 3\n').join('');
  const error = editor.open(scene);
  if (error) {
    throw new Error(error);
  }
  const mirror = new SelectionMirror(editor);
  const total = [];
  const library = [];
  for (let repetition = 0; repetition < repetitions; ++repetition) {
    mirror.follow(JSON.parse(editor.run('select')).change);
    const start = performance.now();
    const answer = editor.run('select-all-shapes');
    const ran = performance.now();
    mirror.follow(JSON.parse(answer).change);
    total.push(performance.now() - start);
    library.push(ran - start);
    if (mirror.counts.size !== count) {
      throw new Error('the mirror holds ' + mirror.counts.size + ' shapes, not ' + count);
    }
  }
  editor.delete();
  return {count, repetitions, medianMs: median(total), minMs: Math.min(...total),
          maxMs: Math.max(...total), moduleMedianMs: median(library),
          followed: mirror.followed, reread: mirror.reread};
}

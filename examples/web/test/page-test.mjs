// The selection page in headless Chromium: clicks, Shift+clicks, dragged rectangles, undo and redo
// by the mouse and the keyboard, each followed by the selections read back (the page's mirror,
// the editor's selection read whole and the application's) and the canvas's colours, then the
// select-all benchmark page, whose 10^4 shapes are then checked the same way after select-all,
// undo, redo and clicks.
//   node test/page-test.mjs WEB_DIR [SCREENSHOT]
// WEB_DIR is the build's web/ folder (build/wasm/web); SCREENSHOT a PNG to write the page to.
import {chromium} from 'playwright-core';
import assert from 'node:assert/strict';
import {mkdtempSync, readFileSync, rmSync} from 'node:fs';
import {createServer} from 'node:http';
import {tmpdir} from 'node:os';
import {extname, join, normalize} from 'node:path';

const [webDir, screenshot] = process.argv.slice(2);
const types = {'.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css',
               '.wasm': 'application/wasm'};

// The page's mirror beside the editor's selection read whole, which it must equal.
async function compare(page, what) {
  const {mirror, whole} = await page.evaluate(() => window.voPage.compare());
  assert.deepEqual([...mirror.shapes].sort(), [...whole.shapes].sort(), what + ': mirror shapes');
  assert.deepEqual(mirror.counts, whole.counts, what + ': mirror items per shape');
  assert.equal(mirror.primary, whole.primary, what + ': mirror primary');
  assert.deepEqual(mirror.points, whole.points, what + ': mirror points');
  return {mirror, whole};
}

const dist = ([a, b]) => Math.hypot(a.x - b.x, a.y - b.y);

// 'primary', 'selected' or 'plain': the style of the canvas's pixel at a canvas position, once
// the next frame has drawn.
async function colourAt(page, at) {
  const [r, g, b] = await page.evaluate(({x, y}) => new Promise((done) => requestAnimationFrame(() => {
    done([...window.voPage.elements.canvas.getContext('2d').getImageData(Math.round(x), Math.round(y), 1, 1).data]);
  })), at);
  return r > b + 80 ? 'primary' : b > r + 80 ? 'selected' : Math.max(r, g, b) - Math.min(r, g, b) < 30 ? 'plain' : [r, g, b];
}

// Select-all of the page's shapes, from none, timed by the processor time of the page's main
// thread (Chromium's ThreadTime, through the DevTools protocol), which a loaded machine stretches
// far less than wall time; less the time of an empty evaluation around the same readings. Median
// of the repetitions, with the least and the most.
async function threadTimes(browser, page, repetitions) {
  const session = await browser.newCDPSession(page);
  await session.send('Performance.enable', {timeDomain: 'threadTicks'});
  const threadTime = async () => (await session.send('Performance.getMetrics')).metrics
    .find((metric) => metric.name === 'ThreadTime').value * 1000;
  const spent = async (line) => {
    const start = await threadTime();
    await page.evaluate((command) => command && benchCommand(window.voPage, command), line);
    return (await threadTime()) - start;
  };
  const times = [];
  for (let at = 0; at < repetitions; ++at) {
    await spent('select');
    times.push((await spent('select-all-shapes')) - (await spent(null)));
  }
  times.sort((a, b) => a - b);
  return {medianMs: times[Math.floor(repetitions / 2)], minMs: times[0], maxMs: times[repetitions - 1]};
}

const server = createServer((request, response) => {
  const path = normalize(join(webDir, new URL(request.url, 'http://x').pathname));
  try {
    const body = readFileSync(path);
    response.writeHead(200, {'Content-Type': types[extname(path)] || 'application/octet-stream'});
    response.end(body);
  } catch {
    response.writeHead(404).end();
  }
});
await new Promise((done) => server.listen(0, '127.0.0.1', done));
const base = 'http://127.0.0.1:' + server.address().port + '/';

const profile = mkdtempSync(join(tmpdir(), 'vo-web-'));
const browser = await chromium.launchPersistentContext(profile, {
  executablePath: '/usr/bin/chromium',
  headless: true,
  viewport: {width: 1200, height: 640},
  args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
         '--disable-background-networking', '--disable-component-update', '--disable-sync'],
});

try {
  const page = await browser.newPage();
  const errors = [];
  page.on('pageerror', (error) => errors.push(String(error)));
  await page.goto(base + 'index.html');
  await page.waitForFunction(() => window.voPage !== undefined);
  const canvas = await page.locator('#canvas').boundingBox();
  const shapes = await page.evaluate(() => window.voPage.shapes.map((s) => ({name: s.name, screen: s.screen})));
  const byName = Object.fromEntries(shapes.map((shape) => [shape.name, shape.screen]));
  const onPage = (p) => ({x: canvas.x + p.x, y: canvas.y + p.y});
  const centre = (name) => onPage({x: byName[name].reduce((s, p) => s + p.x, 0) / byName[name].length,
                                   y: byName[name].reduce((s, p) => s + p.y, 0) / byName[name].length});
  const point = (name, index) => onPage(byName[name][index]);

  const click = async (at, shift = false) => {
    if (shift) await page.keyboard.down('Shift');
    await page.mouse.click(at.x, at.y);
    if (shift) await page.keyboard.up('Shift');
  };
  const drag = async (from, to) => {
    await page.mouse.move(from.x, from.y);
    await page.mouse.down();
    await page.mouse.move((from.x + to.x) / 2, (from.y + to.y) / 2);
    await page.mouse.move(to.x, to.y);
    await page.mouse.up();
  };
  // The mirror must equal the selection read whole, and both the expected one.
  const expect = async (what, shapesExpected, primary, points) => {
    const {mirror, whole} = await compare(page, what);
    assert.deepEqual([...whole.shapes].sort(), [...shapesExpected].sort(), what + ': shapes');
    assert.equal(whole.primary, primary, what + ': primary');
    assert.deepEqual(whole.points, points, what + ': points');
    assert.deepEqual(mirror.counts, whole.counts, what + ': items per shape');
  };
  // The colour drawn halfway along a shape's longest edge, once the next frame has drawn.
  const outline = async (name) => {
    const placed = byName[name];
    const edges = placed.map((p, at) => [p, placed[(at + 1) % placed.length]]);
    const [a, b] = edges.reduce((l, e) => (dist(e) > dist(l) ? e : l));
    return colourAt(page, {x: (a.x + b.x) / 2, y: (a.y + b.y) / 2});
  };
  const host = () => page.evaluate(() => JSON.parse(window.voPage.editor.getSelection()).host
    .map((item) => item.kind + ' ' + item.name));
  const counts = () => page.evaluate(() => ({followed: window.voPage.mirror.followed,
                                             reread: window.voPage.mirror.reread}));

  await click(centre('A'));
  await expect('click A', ['A'], 'A', []);
  assert.deepEqual([await outline('A'), await outline('B')], ['primary', 'plain'], 'A drawn primary');
  assert.ok((await host()).includes('object A'), 'the application selects A');
  const before = await counts();
  await click(centre('B'), true);
  await expect('Shift+click B', ['A', 'B'], 'A', []);
  assert.deepEqual([await outline('A'), await outline('B')], ['primary', 'selected'], 'B drawn selected');
  const after = await counts();
  assert.equal(after.followed, before.followed + 1, 'Shift+click B is followed as a delta');
  assert.equal(after.reread, before.reread, 'Shift+click B needs no whole reading');
  await click(centre('A'), true);
  await expect('Shift+click A', ['B'], 'B', []);

  await click(point('A', 2));
  await expect('click point 2 of A', ['A'], 'A', [2]);
  assert.ok((await host()).some((item) => item.startsWith('input A.curve/Points[2]')),
            'the application selects the input of point 2: ' + (await host()).join(', '));
  await click(point('A', 0), true);
  await expect('Shift+click point 0', ['A'], 'A', [2, 0]);
  await click(point('A', 2), true);
  await expect('Shift+click point 2 again', ['A'], 'A', [0]);
  await click(point('A', 3), true);
  await expect('Shift+click point 3', ['A'], 'A', [0, 3]);

  const xs = byName.A.map((p) => p.x);
  const ys = byName.A.map((p) => p.y);
  const margin = 10;
  await drag(onPage({x: Math.min(...xs) - margin, y: Math.min(...ys) - margin}),
             onPage({x: Math.max(...xs) + margin, y: Math.max(...ys) + margin}));
  await expect('rectangle around A', ['A'], 'A', [0, 1, 2, 3, 4]);
  await page.click('#undo');
  await expect('undo', ['A'], 'A', [0, 3]);
  await page.click('#redo');
  await expect('redo', ['A'], 'A', [0, 1, 2, 3, 4]);
  await page.keyboard.press('Control+z');
  await expect('Ctrl+Z', ['A'], 'A', [0, 3]);
  await page.keyboard.press('Control+Shift+z');
  await expect('Ctrl+Shift+Z', ['A'], 'A', [0, 1, 2, 3, 4]);

  await click(onPage({x: 3, y: 3}));
  await expect('click on the empty canvas', [], null, []);
  assert.deepEqual(await host(), ['node ShapeEditor'], 'the application keeps the editor alone');
  await drag(onPage({x: 2, y: 2}), onPage({x: canvas.width - 2, y: canvas.height - 2}));
  // C's points have no positions of their own: it is not drawn, and no rectangle catches it.
  await expect('rectangle around everything', ['A', 'B', 'D'], 'A', []);
  assert.deepEqual([await outline('A'), await outline('B'), await outline('D')],
                   ['primary', 'selected', 'selected'], 'every drawn shape selected');
  await page.keyboard.press('Control+z');
  await expect('undo the rectangle', [], null, []);
  assert.deepEqual([await outline('A'), await outline('B')], ['plain', 'plain'], 'nothing drawn selected');

  // The picture for the README: two shapes, the primary one with two points in order. A list of
  // shapes selects them whole: the points come after.
  await click(point('B', 1));
  await expect('click point 1 of B', ['B'], 'B', [1]);
  await click(centre('D'), true);
  await expect('Shift+click D', ['B', 'D'], 'B', []);
  await click(point('B', 3), true);
  await click(point('B', 1), true);
  await expect('B with points 3 and 1, and D', ['B', 'D'], 'B', [3, 1]);
  if (screenshot) {
    await page.screenshot({path: screenshot});
  }
  assert.deepEqual(errors, [], 'the page raised no error');

  const bench = await browser.newPage();
  await bench.setViewportSize({width: 1200, height: 900}); // the whole canvas, under the heading
  await bench.goto(base + 'index.html?bench=10000');
  await bench.waitForFunction(() => window.benchResult !== undefined, null, {timeout: 120000});
  const result = await bench.evaluate(() => window.benchResult);
  assert.equal(result.error, undefined, 'the benchmark ran: ' + result.error);
  console.log('select-all in the page: ' + JSON.stringify(result));
  console.log('select-all in the page, main thread processor time: ' +
              JSON.stringify(await threadTimes(browser, bench, 5)));

  // The benchmark's 10^4 shapes: each change of them all is large, read whole by the mirror.
  const all = await compare(bench, 'select-all of 10^4 shapes');
  assert.equal(all.whole.counts.length, 10000, 'select-all selects every shape');
  const lines = await bench.evaluate(() => window.voPage.elements.editor.textContent.split('\n'));
  assert.deepEqual([lines.length, lines[200]], [201, '... 9800 more'], 'the editor panel lists 200');
  await bench.click('#undo');
  assert.equal((await compare(bench, 'undo the select-all')).whole.counts.length, 0, 'undone');
  await bench.click('#redo');
  assert.equal((await compare(bench, 'redo the select-all')).whole.counts.length, 10000, 'redone');
  // Clicks a shape's centre, at whole pixels as the mouse gives them; what the page picks there.
  const clickBig = async (name, shift) => {
    const at = await bench.evaluate((shape) => {
      const placed = window.voPage.shapes.find((s) => s.name === shape).placed;
      const box = window.voPage.elements.canvas.getBoundingClientRect();
      const client = {x: Math.round(box.left + placed.reduce((sum, p) => sum + p.x, 0) / placed.length),
                      y: Math.round(box.top + placed.reduce((sum, p) => sum + p.y, 0) / placed.length)};
      return {client, hit: window.voPage.hit({x: client.x - box.left, y: client.y - box.top})};
    }, name);
    if (shift) await bench.keyboard.down('Shift');
    await bench.mouse.click(at.client.x, at.client.y);
    if (shift) await bench.keyboard.up('Shift');
    return at.hit.shape;
  };
  const first = await clickBig('S5050', false);
  const one = await compare(bench, 'a click among 10^4 shapes');
  assert.deepEqual(one.whole.counts, [[first, 1]], 'the click selects the shape under it');
  const second = await clickBig('S17', true);
  const two = await compare(bench, 'a Shift+click among 10^4 shapes');
  assert.deepEqual(two.whole.shapes.sort(), [first, second].sort(), 'the Shift+click adds a shape');
  const panel = await bench.evaluate(() => window.voPage.elements.host.textContent.split('\n'));
  assert.ok(panel.includes('object ' + second), 'the application panel lists it: ' + panel.join(', '));
  console.log('the page: all checks passed');
} finally {
  await browser.close();
  server.close();
  rmSync(profile, {recursive: true, force: true});
}

// Kell Hud Studio's page in Debian's chromium, against the real kellhud-studio on a copy of
// the shipped folder: what a modder does (drag, anchor, recolour, undo, save) must reach
// the picture and the files. Renders run under qemu here, so each test waits generously.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { browserMissing, repoDir, startStudio, studioMissing } from './harness.mjs';

const missing = browserMissing() || studioMissing();
if (missing && !process.env.NODE_TEST_CONTEXT) {
  // Run by ctest: one line saying why, and the exit status ctest counts as skipped.
  console.log('Studio.BrowserTests skipped: ' + missing);
  process.exit(77);
}

const SLOW = { timeout: 600_000 };
let browser;
let chromium;

before(async () => {
  if (missing) return;
  ({ chromium } = await import('playwright-core'));
  browser = await chromium.launch({ executablePath: '/usr/bin/chromium', args: ['--no-sandbox'] });
});
after(async () => { if (browser) await browser.close(); });

// A studio on its own copy of the folder and a page open on it, both closed afterwards.
async function open(t, viewport = { width: 1280, height: 800 }) {
  const studio = await startStudio();
  const context = await browser.newContext({ viewport });
  const page = await context.newPage();
  const problems = [];
  page.on('pageerror', (e) => problems.push(e.message));
  t.after(async () => {
    await context.close();
    await studio.stop();
    assert.deepEqual(problems, [], 'the page threw');
  });
  page.setDefaultTimeout(300_000);
  await page.goto(studio.url);
  const first = await page.evaluate(() => window.studio.ready);
  assert.ok(first && !first.error, 'the first render failed: ' + (first && first.error));
  return { studio, page };
}

const blur = (page) => page.evaluate(() => document.activeElement && document.activeElement.blur());
const settled = (page) => page.evaluate(() => window.studio.settled());
const boxesOf = (render, key) => render.boxes.filter((b) => b.key === key);
const lines = (bytes) => bytes.toString('latin1').split('\n');

// The preview's pixels in a rectangle of the picture (RGBA, row by row).
function pixels(page, r) {
  return page.evaluate(async (r) => {
    const img = document.getElementById('preview');
    await img.decode();
    const c = document.createElement('canvas');
    c.width = img.naturalWidth;
    c.height = img.naturalHeight;
    const g = c.getContext('2d');
    g.drawImage(img, 0, 0);
    return Array.from(g.getImageData(r.left, r.top, r.right - r.left, r.bottom - r.top).data);
  }, r);
}

// The share of pixels that differ by more than `by` in some channel.
function changedShare(a, b, by = 40) {
  assert.equal(a.length, b.length);
  let n = 0;
  for (let i = 0; i < a.length; i += 4) {
    if (Math.abs(a[i] - b[i]) > by || Math.abs(a[i + 1] - b[i + 1]) > by || Math.abs(a[i + 2] - b[i + 2]) > by) n++;
  }
  return n / (a.length / 4);
}

async function chooseSize(page, w, h) {
  await page.selectOption('#size', `${w}x${h}`);
  await page.waitForFunction(([w, h]) => window.studio.lastRender && window.studio.lastRender.request.width === w &&
    window.studio.lastRender.request.height === h, [w, h]);
  return settled(page);
}

test('dragging the radar 100 px right and saving changes one number of hud.dat by 100, CRLF kept', { skip: missing || false, ...SLOW }, async (t) => {
  // A window large enough for the picture at 1:1, so that 100 page pixels are 100 screen pixels.
  const { studio, page } = await open(t, { width: 2400, height: 1300 });
  const hudDat = studio.file('kell-hud/data/hud.dat');
  const before = fs.readFileSync(hudDat);
  const shown = await page.locator('#preview').boundingBox();
  assert.equal(Math.round(shown.width), 1920, 'the picture shows at 1:1');

  const box = await page.locator('.box[data-key="HUD_RADAR_MAP"]').first().boundingBox();
  const x = box.x + box.width / 2;
  const y = box.y + box.height / 2;
  await page.keyboard.down('Alt'); // no snapping: exactly where the mouse goes
  await page.mouse.move(x, y);
  await page.mouse.down();
  await page.mouse.move(x + 50, y, { steps: 5 });
  // While dragging the box follows at once, before any render.
  const midway = await page.locator('.box[data-key="HUD_RADAR_MAP"]').first().boundingBox();
  assert.ok(Math.abs(midway.x - (box.x + 50)) <= 1, `the box follows the mouse: ${midway.x} vs ${box.x + 50}`);
  await page.mouse.move(x + 100, y, { steps: 5 });
  await page.mouse.up();
  await page.keyboard.up('Alt');
  const render = await settled(page);
  const changes = await page.evaluate(() => window.studio.changes);
  assert.deepEqual(Object.keys(changes), ['layout']);
  assert.deepEqual(Object.keys(changes.layout), ['HUD_RADAR_MAP']);
  assert.equal(await page.inputValue('#element-values [data-field="0"]'), String(changes.layout.HUD_RADAR_MAP.values[0]));
  // The server's box moved by the same 100 pixels.
  const moved = boxesOf(render, 'HUD_RADAR_MAP')[0];
  assert.ok(Math.abs(moved.left - ((box.x - shown.x) + 100)) <= 1, 'the rendered box moved by 100 px');

  assert.ok(await page.isEnabled('#save'), 'save is offered');
  const [response] = await Promise.all([page.waitForResponse((r) => r.url().endsWith('/api/save')), page.click('#save')]);
  assert.equal(response.status(), 200);
  assert.deepEqual((await response.json()).saved, ['kell-hud/data/hud.dat']);
  await settled(page);
  assert.deepEqual(await page.evaluate(() => window.studio.changes), {}, 'nothing left to save');
  assert.ok(await page.isDisabled('#save'));

  const old = lines(before);
  const now = lines(fs.readFileSync(hudDat));
  assert.equal(now.length, old.length, 'same number of lines');
  const differ = old.map((l, i) => i).filter((i) => old[i] !== now[i]);
  assert.equal(differ.length, 1, 'exactly one line differs');
  for (let i = 0; i < old.length - 1; i++) assert.ok(now[i].endsWith('\r'), `line ${i + 1} keeps its CRLF`);
  const a = old[differ[0]].trim().split(/\s+/);
  const b = now[differ[0]].trim().split(/\s+/);
  assert.equal(a[0], 'HUD_RADAR_MAP');
  assert.equal(b.length, a.length);
  const tokens = a.map((w, i) => i).filter((i) => a[i] !== b[i]);
  assert.deepEqual(tokens, [1], 'only x changed');
  assert.equal(Number(b[1]) - Number(a[1]), 100);
});

test('dragging snaps to other edges and the centre lines (not with Alt), Shift steps by 10, the handle resizes, Escape cancels, undo and redo follow', { skip: missing || false, ...SLOW }, async (t) => {
  const { page } = await open(t, { width: 2400, height: 1300 });
  const origin = await page.locator('#preview').boundingBox();
  const first = await page.evaluate(() => window.studio.lastRender);
  const map = boxesOf(first, 'HUD_RADAR_MAP')[0];
  const values = async () => { const c = await page.evaluate(() => window.studio.changes); return c.layout && c.layout.HUD_RADAR_MAP.values; };
  const centre = { x: origin.x + (map.left + map.right) / 2, y: origin.y + (map.top + map.bottom) / 2 };
  const drag = async (from, dx, dy, during) => {
    await page.mouse.move(from.x, from.y);
    await page.mouse.down();
    await page.mouse.move(from.x + dx, from.y + dy, { steps: 6 });
    if (during) await during();
    await page.mouse.up();
  };

  // Escape puts the element back where the drag started.
  await drag(centre, 30, 30, () => page.keyboard.press('Escape'));
  assert.equal(await values(), undefined, 'Escape cancels the drag');

  // The map's centre 4 px short of the screen's vertical centre line lands on a target.
  const dx = first.request.width / 2 - 4 - (map.left + map.right) / 2;
  let guides = 0;
  await drag(centre, dx, 0, async () => { guides = await page.locator('.guide.v').count(); });
  assert.equal(guides, 1, 'a guide line shows while snapped');
  assert.equal(await page.locator('.guide').count(), 0, 'and goes with the drag');
  const snapped = (await values())[0] - 170;
  assert.ok(snapped !== dx && Math.abs(snapped - dx) <= 6, `snapped within 6 px: moved ${snapped}, the mouse ${dx}`);
  let render = await settled(page);
  const moved = boxesOf(render, 'HUD_RADAR_MAP')[0];
  const xs = [0, render.request.width / 2, render.request.width];
  for (const b of render.boxes) if (b.key !== 'HUD_RADAR_MAP') xs.push(b.left, b.right, (b.left + b.right) / 2);
  const edges = [moved.left, (moved.left + moved.right) / 2, moved.right];
  assert.ok(edges.some((e) => xs.some((x) => Math.abs(x - e) <= 1)), `an edge or the centre of ${JSON.stringify(moved)} is on a target`);
  assert.equal((await values())[1], 170, 'no movement across');

  // Ctrl+Z undoes a drag; Shift moves in steps of 10 (up is more y: measured from the bottom).
  await page.keyboard.press('Control+z');
  assert.equal(await values(), undefined);
  await page.keyboard.down('Shift');
  await drag(centre, 37, -14);
  await page.keyboard.up('Shift');
  assert.deepEqual(await values(), [210, 180, 100, 100]);

  // The handle at the bottom-right corner sets w and h (the map's are radii: 2 px a unit).
  const handle = await page.locator('.handle[data-handle="resize"]').boundingBox();
  await drag({ x: handle.x + handle.width / 2, y: handle.y + handle.height / 2 }, 50, 20);
  assert.deepEqual(await values(), [210, 180, 125, 110]);
  render = await settled(page);
  const grown = boxesOf(render, 'HUD_RADAR_MAP')[0];
  assert.equal(grown.right - grown.left, 250, 'the rendered map is 2 x 125 px wide');

  await page.keyboard.press('Control+z');
  assert.deepEqual(await values(), [210, 180, 100, 100]);
  await page.keyboard.press('Control+y');
  assert.deepEqual(await values(), [210, 180, 125, 110]);
  await page.keyboard.press('Control+Shift+z');
  assert.deepEqual(await values(), [210, 180, 125, 110], 'nothing more to redo');
  await page.click('#undo');
  await page.click('#undo');
  assert.equal(await values(), undefined, 'back to the files');
  assert.ok(await page.isDisabled('#save'), 'nothing to save');

  // A click on the selected box picks the one beneath it: the ring around the map.
  await page.mouse.click(centre.x, centre.y);
  assert.equal(await page.evaluate(() => window.studio.selected), 'HUD_RADAR_SPRITES');
  assert.equal(await page.inputValue('#element-values [data-field="2"]'), '260');
  await settled(page);
});

test('anchoring the radar top-right carries the ring into the corner of a 3440x1440 screen', { skip: missing || false, ...SLOW }, async (t) => {
  const { page } = await open(t);
  await page.selectOption('#element-select', 'HUD_RADAR_MAP');
  assert.equal(await page.evaluate(() => window.studio.selected), 'HUD_RADAR_MAP');
  await page.click('#anchor-picker [data-anchor="right-top"]');
  assert.equal(await page.getAttribute('#anchor-picker [data-anchor="right-top"]', 'aria-pressed'), 'true');
  await settled(page);
  assert.deepEqual(await page.evaluate(() => window.studio.changes),
    { layout: { HUD_RADAR_MAP: { values: [170, 170, 100, 100], anchor: 'right-top' } } }, 'the numbers are kept');

  await chooseSize(page, 3440, 1440);
  const render = await page.evaluate(() => window.studio.lastRender);
  const ring = boxesOf(render, 'HUD_RADAR_SPRITES')[0];
  assert.ok(ring, 'the ring has a box');
  assert.ok(ring.right > 3440 - 400 && ring.right <= 3440, `the ring is at the right edge: ${JSON.stringify(ring)}`);
  assert.ok(ring.top < 400, `and at the top: ${JSON.stringify(ring)}`);
  assert.equal(await page.evaluate(() => document.getElementById('preview').naturalWidth), 3440);

  // The same corner without the anchor shows the background only; with it, the ring.
  const withRing = await pixels(page, ring);
  await page.click('.anchor-none');
  await settled(page);
  const without = await pixels(page, ring);
  const share = changedShare(withRing, without);
  assert.ok(share > 0.2, `the ring's pixels differ from the background's: ${(share * 100).toFixed(1)}%`);
});

test('a colour change shows in the picture, and undo brings the old picture and value back', { skip: missing || false, ...SLOW }, async (t) => {
  const { page } = await open(t);
  const ring = boxesOf(await page.evaluate(() => window.studio.lastRender), 'HUD_RADAR_SPRITES')[0];
  // The health gauge fills the ring's left half.
  const region = { left: ring.left, top: ring.top, right: Math.round((ring.left + ring.right) / 2), bottom: ring.bottom };
  const before = await pixels(page, region);

  await page.click('#tabs [data-tab="colours"]');
  const row = page.locator('#colour-list > li[data-colour="HUD_COLOUR_HEALTH"]');
  assert.match(await row.locator('.row-doc').innerText(), /health/i, 'the row says where the colour is used');
  await row.locator('.row-head').click();
  const old = await row.locator('[data-field="rgb"]').inputValue();
  await row.locator('[data-field="rgb"]').fill('#00ff00');
  await settled(page);
  assert.deepEqual((await page.evaluate(() => window.studio.changes)).colours.HUD_COLOUR_HEALTH.slice(0, 3), [0, 255, 0]);
  const green = await pixels(page, region);
  const share = changedShare(before, green);
  assert.ok(share > 0.02, `the gauge turned green: ${(share * 100).toFixed(2)}% of its half changed`);
  let greenish = 0;
  for (let i = 0; i < green.length; i += 4) if (green[i + 1] > 180 && green[i] < 80 && green[i + 2] < 80) greenish++;
  assert.ok(greenish > 50, `green pixels in the gauge: ${greenish}`);

  await blur(page); // out of the colour input: the keys are the page's
  await page.keyboard.press('Control+z');
  await settled(page);
  assert.deepEqual(await page.evaluate(() => window.studio.changes), {});
  assert.equal(await row.locator('[data-field="rgb"]').inputValue(), old, 'the picker shows the old value');
  assert.deepEqual(await pixels(page, region), before, 'the old picture is back');
  assert.ok(await page.isDisabled('#undo'));

  await page.click('#redo');
  await settled(page);
  assert.deepEqual(await pixels(page, region), green, 'redo brings the green back');
  await page.click('#undo');
  await settled(page);
  assert.deepEqual(await pixels(page, region), before);
});

test('a typo written to settings.ini meanwhile shows, blocks saving, and after Reload it can be fixed and saved', { skip: missing || false, ...SLOW }, async (t) => {
  const { studio, page } = await open(t);
  const settingsIni = studio.file('kell-hud/settings.ini');
  const original = fs.readFileSync(settingsIni, 'latin1');
  assert.match(original, /^bStatsBox = 1\r?$/m);
  fs.writeFileSync(settingsIni, original.replace(/^bStatsBox = 1/m, 'bStatsBox = 1x'), 'latin1');

  // A change on the page renders again, now with the typo.
  await page.selectOption('#element-select', 'HUD_RADAR_MAP');
  await blur(page);
  await page.keyboard.press('ArrowRight');
  let render = await settled(page);
  assert.deepEqual((await page.evaluate(() => window.studio.changes)).layout.HUD_RADAR_MAP.values, [171, 170, 100, 100]);
  const typo = render.findings.find((f) => f.severity === 'error' && f.key === 'bStatsBox');
  assert.ok(typo, 'the checker names the typo: ' + JSON.stringify(render.findings));
  assert.equal(typo.file, 'kell-hud/settings.ini');
  const item = page.locator('#findings .finding[data-severity="error"][data-key="bStatsBox"]');
  assert.equal(await item.count(), 1, 'the findings panel lists it');
  assert.ok(await page.isDisabled('#save'), 'save is blocked by the error');

  // The server refuses too: the page's versions are old (409); with fresh ones, a change to
  // the broken file is refused for its error (422).
  const answers = await page.evaluate(async () => {
    const token = new URLSearchParams(location.search).get('token');
    const post = async (body) => {
      const r = await fetch('/api/save', { method: 'POST', headers: { 'X-Kell-Token': token, 'Content-Type': 'application/json' }, body: JSON.stringify(body) });
      return { status: r.status, body: await r.json() };
    };
    const state = await (await fetch('/api/state?style=base', { headers: { 'X-Kell-Token': token } })).json();
    const fresh = Object.fromEntries(Object.entries(state.files).map(([k, f]) => [k, f.version]));
    return {
      stale: await post({ changes: window.studio.changes, style: 'base', versions: { settings: 'x', layout: 'x', colours: 'x' } }),
      broken: await post({ changes: { settings: { bCellphone: '0' } }, style: 'base', versions: fresh }),
    };
  });
  assert.equal(answers.stale.status, 409);
  assert.ok(answers.stale.body.files.includes('kell-hud/settings.ini'));
  assert.equal(answers.broken.status, 422);
  assert.ok(answers.broken.body.findings.some((f) => f.key === 'bStatsBox'));
  assert.equal(fs.readFileSync(settingsIni, 'latin1'), original.replace(/^bStatsBox = 1/m, 'bStatsBox = 1x'), 'nothing was written');

  // The page noticed the file changed under it and offers Reload.
  await page.locator('#reload').waitFor({ state: 'visible', timeout: 60_000 });
  assert.match(await page.innerText('#message-text'), /settings\.ini changed on disk/);

  // Clicking the finding shows the setting.
  await item.click();
  assert.equal(await page.getAttribute('#tabs [data-tab="settings"]', 'aria-selected'), 'true');
  assert.match(await page.innerText('#finding-detail'), /settings\.ini, line \d+/);

  // Reload asks first, then drops the page's changes and reads the files anew.
  let asked = '';
  page.once('dialog', (d) => { asked = d.message(); d.accept(); });
  await page.click('#reload');
  await page.waitForFunction(() => Object.keys(window.studio.changes).length === 0);
  render = await settled(page);
  assert.match(asked, /Discard/);
  assert.ok(render.findings.some((f) => f.severity === 'error' && f.key === 'bStatsBox'), 'the typo is still on disk');
  assert.equal(await page.isVisible('#message'), false);
  const row = page.locator('#setting-list > li[data-setting="bStatsBox"]');
  assert.equal(await row.locator('.setting-raw').innerText(), '"1x"', 'the settings panel shows the value on disk');
  assert.ok(await page.isDisabled('#save'));

  // Fixing it on the page clears the error and saves.
  const box = row.locator('input[type="checkbox"]');
  await page.click('#tabs [data-tab="settings"]');
  await box.check();
  await settled(page);
  assert.ok(await page.isEnabled('#save'), 'the fix unblocks save');
  const [response] = await Promise.all([page.waitForResponse((r) => r.url().endsWith('/api/save')), page.click('#save')]);
  assert.equal(response.status(), 200);
  assert.equal(fs.readFileSync(settingsIni, 'latin1'), original, 'settings.ini is as shipped again');
  render = await settled(page);
  assert.ok(!render.findings.some((f) => f.severity === 'error'), 'no errors left');
});

test('a screenshot of the page for the docs (KELLHUD_STUDIO_SCREENSHOT=1)', {
  ...SLOW, skip: missing || (process.env.KELLHUD_STUDIO_SCREENSHOT !== '1' && 'set KELLHUD_STUDIO_SCREENSHOT=1 to write docs/studio.png'),
}, async (t) => {
  const { page } = await open(t, { width: 1440, height: 860 });
  await page.locator('.box[data-key="HUD_RADAR_MAP"]').first().click();
  await page.keyboard.press('Shift+ArrowRight');
  await settled(page);
  const out = path.join(repoDir, 'docs/studio.png');
  await page.screenshot({ path: out });
  assert.ok(fs.statSync(out).size > 10_000);
});

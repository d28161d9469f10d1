// kellhud-studio's guards, from plain HTTP: only its own page, with its token, on its own
// address may use it, and no request reaches past the folder or takes the server down.
import { test, before, after } from 'node:test';
import assert from 'node:assert/strict';
import fs from 'node:fs';
import path from 'node:path';
import { request, shippedFolder, startStudio, studioMissing } from './harness.mjs';

const missing = studioMissing();
if (missing && !process.env.NODE_TEST_CONTEXT) {
  console.log('Studio.ServerGuards skipped: ' + missing);
  process.exit(77);
}

let studio;
const ok = () => ({ 'X-Kell-Token': studio.token });
const own = () => `127.0.0.1:${studio.port}`;
const render = JSON.stringify({ changes: {}, scenario: 'preview', width: 64, height: 36, style: 'base' });

before(async () => { if (!missing) studio = await startStudio(); });
after(async () => { if (studio) await studio.stop(); });

async function stillAnswers() {
  const r = await request(studio.port, { path: '/api/state?style=base', headers: ok() });
  assert.equal(r.status, 200, 'the server stopped answering: ' + r.body);
  assert.ok(Array.isArray(JSON.parse(r.body).layout));
}

test('the token: missing or wrong is refused, the right one in header or address is let in', { skip: missing || false, timeout: 120_000 }, async () => {
  const wrong = studio.token.replace(/^./, (c) => (c === '0' ? '1' : '0'));
  for (const [what, target, headers] of [
    ['no token', '/api/state', {}],
    ['wrong token in the header', '/api/state', { 'X-Kell-Token': wrong }],
    ['wrong token in the address', '/api/state?token=' + wrong, {}],
    ['a token one character short', '/api/state', { 'X-Kell-Token': studio.token.slice(1) }],
    ['the page without a token', '/', {}],
    ['the script without a token', '/studio.js', {}],
  ]) {
    const r = await request(studio.port, { path: target, headers });
    assert.equal(r.status, 403, what);
    assert.doesNotMatch(r.body, /HUD_RADAR_MAP|<script/, what + ': the refusal leaks content');
  }
  const page = await request(studio.port, { path: '/?token=' + studio.token });
  assert.equal(page.status, 200);
  assert.ok(page.body.includes(`/studio.js?token=${studio.token}`), 'the page links its script with the token');
  assert.ok(!page.body.includes('@TOKEN@'), 'every @TOKEN@ is replaced');
  await stillAnswers();
});

test('host and origin: a foreign Host, or a request from another page, is refused', { skip: missing || false, timeout: 120_000 }, async () => {
  const cases = [
    ['foreign Host', { method: 'GET', path: '/api/state', headers: { ...ok(), Host: `evil.example:${studio.port}` } }],
    ['Host on another port', { method: 'GET', path: '/api/state', headers: { ...ok(), Host: `127.0.0.1:${studio.port + 1}` } }],
    ['foreign Origin on a render', { method: 'POST', path: '/api/render', body: render,
      headers: { ...ok(), 'Content-Type': 'application/json', Origin: 'http://evil.example' } }],
    ['foreign Origin on a save', { method: 'POST', path: '/api/save', body: JSON.stringify({ changes: {}, style: 'base', versions: {} }),
      headers: { ...ok(), 'Content-Type': 'application/json', Origin: 'http://evil.example' } }],
    ['Origin that only starts like ours', { method: 'POST', path: '/api/render', body: render,
      headers: { ...ok(), 'Content-Type': 'application/json', Origin: `http://${own()}.evil.example` } }],
  ];
  for (const [what, options] of cases) {
    const r = await request(studio.port, options);
    assert.equal(r.status, 403, what + ': ' + r.body);
  }
  // Its own origin is let in (a malformed body then answers 400, not 403).
  const mine = await request(studio.port, { method: 'POST', path: '/api/render', body: '{',
    headers: { ...ok(), 'Content-Type': 'application/json', Origin: `http://${own()}` } });
  assert.equal(mine.status, 400);
  await stillAnswers();
});

test('paths outside the folder answer 404 or 403, never a file', { skip: missing || false, timeout: 120_000 }, async () => {
  for (const target of ['/../../etc/passwd', '/kell-hud/../../x', '/%2e%2e/%2e%2e/etc/passwd', '/..%2f..%2fetc%2fpasswd',
    '/kell-hud/settings.ini', '/api/../../../etc/passwd', '//etc/passwd']) {
    const r = await request(studio.port, { path: target, headers: ok() });
    assert.ok(r.status === 404 || r.status === 403, `${target}: ${r.status}`);
    assert.doesNotMatch(r.body, /root:|bEnable/, target + ' gave a file');
  }
  await stillAnswers();
});

test('bodies: over 1 MB answers 413, malformed or wrongly shaped JSON 400', { skip: missing || false, timeout: 120_000 }, async () => {
  const json = { ...ok(), 'Content-Type': 'application/json' };
  const big = JSON.stringify({ changes: {}, pad: 'x'.repeat(1024 * 1024 + 10) });
  const tooLarge = await request(studio.port, { method: 'POST', path: '/api/render', headers: json, body: big });
  assert.equal(tooLarge.status, 413);
  for (const [what, body] of [
    ['not JSON', '{"changes": {'],
    ['not an object', '[1, 2, 3]'],
    ['empty', ''],
    ['an unknown key', JSON.stringify({ changes: { layout: { HUD_NOTHING: { values: [1, 2, 3, 4], anchor: '' } } } })],
    ['three values for a record', JSON.stringify({ changes: { layout: { HUD_RADAR_MAP: { values: [1, 2, 3], anchor: '' } } } })],
    ['a word that is no anchor', JSON.stringify({ changes: { layout: { HUD_RADAR_MAP: { values: [1, 2, 3, 4], anchor: 'top-right' } } } })],
    ['a colour channel over 255', JSON.stringify({ changes: { colours: { HUD_COLOUR_WHITE: [256, 0, 0, 255] } } })],
  ]) {
    const r = await request(studio.port, { method: 'POST', path: '/api/save', headers: json, body });
    assert.equal(r.status, 400, `${what}: ${r.status} ${r.body}`);
    assert.ok(typeof JSON.parse(r.body).error === 'string', what + ': an error message');
  }
  await stillAnswers();
});

test('after all of these the folder is untouched and the server alive', { skip: missing || false, timeout: 120_000 }, async () => {
  assert.ok(studio.alive(), 'kellhud-studio ended:\n' + studio.output());
  for (const name of ['settings.ini', 'data/hud.dat', 'data/hudColor.dat']) {
    assert.ok(fs.readFileSync(studio.file('kell-hud/' + name)).equals(fs.readFileSync(path.join(shippedFolder, name))), name + ' changed');
  }
  await stillAnswers();
});

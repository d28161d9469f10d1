// Starts kellhud-studio on a copy of the shipped folder, for the browser and server tests.
import { spawn } from 'node:child_process';
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { fileURLToPath } from 'node:url';

const here = path.dirname(fileURLToPath(import.meta.url));
const repo = path.resolve(here, '../..');

// ctest passes both; a developer running `node --test tests/browser/` gets the sim build's.
export const studioProgram = process.env.KELLHUD_STUDIO || path.join(repo, 'build/sim/kellhud-studio');
export const shippedFolder = process.env.KELLHUD_SHIPPED || path.join(repo, 'build/sim/kell-hud');
export const repoDir = repo;

// Why the browser tests cannot run here, or '' when they can.
export function browserMissing() {
  if (!fs.existsSync('/usr/bin/chromium')) return 'no /usr/bin/chromium (bash scripts/setup.sh installs it)';
  if (!fs.existsSync(path.join(here, 'node_modules/playwright-core'))) {
    return 'no tests/browser/node_modules/playwright-core (bash scripts/setup.sh installs it)';
  }
  return '';
}

export function studioMissing() {
  if (!fs.existsSync(studioProgram)) return `no ${studioProgram} (build the kellhud-studio target)`;
  if (!fs.existsSync(path.join(shippedFolder, 'settings.ini'))) return `no shipped folder at ${shippedFolder}`;
  return '';
}

// A studio on a fresh copy of the shipped folder: DIR/kell-hud/... in a temporary folder.
export async function startStudio() {
  const dir = fs.mkdtempSync(path.join(os.tmpdir(), 'kellhud-studio-test-'));
  fs.cpSync(shippedFolder, path.join(dir, 'kell-hud'), { recursive: true });
  const child = spawn(studioProgram, ['--plugin-dir', dir, '--port', '0', '--no-browser'], {
    stdio: ['ignore', 'pipe', 'pipe'],
  });
  let output = '';
  const exited = new Promise((resolve) => child.once('exit', (code, signal) => resolve({ code, signal })));
  const url = await new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error('kellhud-studio printed no address in 60 s:\n' + output)), 60_000);
    const look = (chunk) => {
      output += chunk;
      const m = /Kell Hud Studio: (http:\/\/127\.0\.0\.1:\d+\/\?token=\w+)/.exec(output);
      if (m) { clearTimeout(timer); resolve(m[1]); }
    };
    child.stdout.setEncoding('utf8').on('data', look);
    child.stderr.setEncoding('utf8').on('data', (c) => { output += c; });
    exited.then(({ code, signal }) => {
      clearTimeout(timer);
      reject(new Error(`kellhud-studio ended (${code ?? signal}) before printing its address:\n${output}`));
    });
  });
  const parsed = new URL(url);
  const studio = {
    dir, url, port: Number(parsed.port), token: parsed.searchParams.get('token'), child,
    file: (name) => path.join(dir, name),
    output: () => output,
    alive: () => child.exitCode === null && child.signalCode === null,
    async stop() {
      if (studio.alive()) {
        child.kill('SIGTERM');
        const timer = setTimeout(() => { if (studio.alive()) child.kill('SIGKILL'); }, 10_000);
        await exited;
        clearTimeout(timer);
      }
      fs.rmSync(dir, { recursive: true, force: true });
    },
  };
  return studio;
}

// One plain HTTP request, with full control over the headers (fetch would not send a
// foreign Host). Resolves with the status and body even when the server answers before
// reading all of a large body.
export function request(port, { method = 'GET', path: target = '/', headers = {}, body } = {}) {
  return new Promise((resolve, reject) => {
    let answered = false;
    const req = http.request({ host: '127.0.0.1', port, method, path: target, headers, setHost: !('Host' in headers) }, (res) => {
      answered = true;
      let text = '';
      res.setEncoding('latin1');
      res.on('data', (c) => { text += c; });
      res.on('end', () => resolve({ status: res.statusCode, headers: res.headers, body: text }));
      res.on('error', reject);
    });
    req.setTimeout(120_000, () => req.destroy(new Error('no answer in 120 s')));
    req.on('error', (e) => { if (!answered) reject(e); });
    if (body !== undefined) req.end(body);
    else req.end();
  });
}

// Shared by the browser tests: Debian's Chromium through playwright-core, the stub server as a
// child process, bounded waits, and a small runner that prints "N passed, M failed".
import { spawn } from 'node:child_process';
import { existsSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

export const here = dirname(fileURLToPath(import.meta.url));
export const kChromium = process.env.CORVANE_CHROMIUM || '/usr/bin/chromium';
export const kSkip = 77;

// Exits 77 (skipped) where Chromium or the npm packages are missing; else playwright-core.
export async function loadPlaywright() {
  if (!existsSync(kChromium)) {
    console.log('SKIP: ' + kChromium + ' is missing (tools/install-deps installs chromium)');
    process.exit(kSkip);
  }
  try {
    return await import('playwright-core');
  } catch (e) {
    console.log('SKIP: playwright-core is missing (tools/install-deps runs npm ci in tests/browser)');
    process.exit(kSkip);
  }
}

export async function launch(playwright) {
  return playwright.chromium.launch({
    executablePath: kChromium,
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run'],
    timeout: 30000,
  });
}

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Waits until fn() returns something truthy, at most ms milliseconds; returns that value.
export async function until(fn, ms, what) {
  const deadline = Date.now() + ms;
  let last;
  for (;;) {
    last = await fn();
    if (last) return last;
    if (Date.now() > deadline) throw new Error('timed out after ' + ms + ' ms waiting for ' + what);
    await sleep(150);
  }
}

// Starts stub-server.mjs on a free port of 127.0.0.1; resolves to { url, process }.
export function startStub(env = {}) {
  const child = spawn(process.execPath, [join(here, 'stub-server.mjs'), '0'], {
    env: { ...process.env, ...env },
    stdio: ['ignore', 'pipe', 'inherit'],
  });
  return new Promise((resolve, reject) => {
    const timer = setTimeout(() => reject(new Error('the stub server did not start')), 10000);
    child.stdout.on('data', (chunk) => {
      const match = /listening on (\S+)/.exec(String(chunk));
      if (match) {
        clearTimeout(timer);
        resolve({ url: match[1], process: child });
      }
    });
    child.on('exit', () => reject(new Error('the stub server exited')));
  });
}

// Runs the cases in order, each bounded in time; prints one line each and the totals.
export async function runCases(cases, seconds = 120) {
  let passed = 0;
  let failed = 0;
  for (const [name, fn] of cases) {
    let timer;
    try {
      await Promise.race([
        fn(),
        new Promise((resolve, reject) => {
          timer = setTimeout(() => reject(new Error('case took over ' + seconds + ' s')), seconds * 1000);
        }),
      ]);
      passed++;
      console.log('ok   ' + name);
    } catch (e) {
      failed++;
      console.log('FAIL ' + name + ': ' + (e && e.stack ? e.stack : e));
    } finally {
      clearTimeout(timer);
    }
  }
  console.log(passed + ' passed, ' + failed + ' failed');
  return failed === 0;
}

export function assert(condition, message) {
  if (!condition) throw new Error(message);
}

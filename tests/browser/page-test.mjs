// corvane-web's page in headless Chromium, against the real server or the stub:
//   node page-test.mjs --stub
//   node page-test.mjs --url URL --password TEXT --wake NAME [--hosts-file FILE]
// Exit 0 all passed, 1 a case failed, 77 Chromium or playwright-core missing.
import { appendFileSync, readFileSync, writeFileSync } from 'node:fs';
import { parseArgs } from 'node:util';
import { assert, launch, loadPlaywright, runCases, startStub, until } from './lib.mjs';

const { values: options } = parseArgs({
  options: {
    stub: { type: 'boolean', default: false },
    url: { type: 'string' },
    password: { type: 'string', default: 'correct horse' },
    wake: { type: 'string', default: 'desktop' },
    'hosts-file': { type: 'string' },
    'wake-seconds': { type: 'string', default: '90' },
  },
});

const playwright = await loadPlaywright();
let stub = null;
if (options.stub) {
  stub = await startStub({ STUB_PASSWORD: options.password, STUB_WAKE_SECONDS: '5', STUB_LONG_NAMES: '1' });
}
const base = stub ? stub.url : options.url;
assert(base, 'give --stub or --url');
const wakeSeconds = Number(options['wake-seconds']);
const browser = await launch(playwright);

const kStateWord = /\b(up|down|waking|no answer|unknown)\b/g;
const kPhone = { viewport: { width: 360, height: 740 }, isMobile: true, hasTouch: true, deviceScaleFactor: 2 };
const problems = []; // JavaScript errors and unexpected console errors of every page

async function newPage(contextOptions = {}) {
  const context = await browser.newContext(contextOptions);
  context.setDefaultTimeout(10000);
  const page = await context.newPage();
  page.on('pageerror', (error) => problems.push('pageerror: ' + error.message));
  page.on('console', (message) => {
    // Chromium logs every 4xx answer; the 401s of a refused login or an ended session are expected.
    if (message.type() === 'error' && !/\b401\b/.test(message.text())) problems.push('console: ' + message.text());
  });
  return page;
}

async function logIn(page, password = options.password) {
  if (page.url() === 'about:blank') await page.goto(base);
  await page.getByLabel('Password').fill(password);
  await page.getByRole('button', { name: 'Log in', exact: true }).click();
}

async function logInAndWait(page) {
  await logIn(page);
  await page.getByRole('button', { name: 'Log out' }).waitFor();
  await page.getByRole('button', { name: /^Wake / }).first().waitFor();
}

const rowOf = (page, name) =>
  page.getByRole('row').filter({ has: page.getByRole('button', { name: 'Wake ' + name, exact: true }) });

async function stateWords(page, name) {
  const text = await rowOf(page, name).innerText();
  return text.match(kStateWord) || [];
}

async function apiHosts(page) {
  return page.evaluate(async () => (await (await fetch('/api/hosts', { credentials: 'same-origin' })).json()).hosts);
}

// Buttons on screen and whether the page scrolls sideways, measured in the page.
async function layout(page) {
  return page.evaluate(() => {
    const root = document.documentElement;
    const buttons = [...document.querySelectorAll('button')]
      .filter((b) => b.getClientRects().length > 0)
      .map((b) => {
        const r = b.getBoundingClientRect();
        return { name: b.getAttribute('aria-label') || b.textContent, left: r.left, right: r.right, height: r.height };
      });
    return { scrollWidth: root.scrollWidth, clientWidth: root.clientWidth, buttons };
  });
}

function checkLayout(found, width) {
  assert(found.scrollWidth <= found.clientWidth, 'scrolls sideways: ' + found.scrollWidth + ' > ' + found.clientWidth);
  for (const b of found.buttons) {
    assert(b.left >= 0 && b.right <= width, 'button ' + b.name + ' outside 0..' + width + ': ' + b.left + '..' + b.right);
    assert(b.height >= 24, 'button ' + b.name + ' is ' + b.height + ' px tall');
  }
}

// Relative luminance of the page background and the lowest text contrast, computed in the page
// from the computed colours (each text's background: the nearest opaque ancestor's).
async function colours(page) {
  return page.evaluate(() => {
    const rgb = (text) => (text.match(/[\d.]+/g) || ['0', '0', '0', '0']).map(Number);
    const channel = (c) => ((c /= 255) <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4);
    const luminance = ([r, g, b]) => 0.2126 * channel(r) + 0.7152 * channel(g) + 0.0722 * channel(b);
    const background = (node) => {
      for (let e = node; e; e = e.parentElement) {
        const c = rgb(getComputedStyle(e).backgroundColor);
        if (c.length < 4 || c[3] > 0) return c;
      }
      return [255, 255, 255];
    };
    const ratio = (a, b) => {
      const [hi, lo] = [luminance(a), luminance(b)].sort((x, y) => y - x);
      return (hi + 0.05) / (lo + 0.05);
    };
    const texts = [...document.querySelectorAll('body *')].filter(
      (e) =>
        e.getClientRects().length > 0 &&
        (e.tagName === 'INPUT' || [...e.childNodes].some((n) => n.nodeType === 3 && n.nodeValue.trim() !== '')),
    );
    let worst = { ratio: Infinity, text: '' };
    for (const e of texts) {
      const r = ratio(rgb(getComputedStyle(e).color), background(e));
      if (r < worst.ratio) worst = { ratio: r, text: e.tagName + ' "' + (e.textContent || e.value).slice(0, 30) + '"' };
    }
    return { background: luminance(background(document.body)), worst, count: texts.length };
  });
}

const cases = [];
const test = (name, fn) => cases.push([name, fn]);

test('the page weighs at most 51,200 bytes and loads nothing from elsewhere', async () => {
  const page = await newPage();
  const outside = [];
  page.on('request', (r) => {
    if (!r.url().startsWith(base)) outside.push(r.url());
  });
  let total = 0;
  for (const file of ['/', '/app.js', '/style.css']) {
    const response = await page.request.get(base + file);
    assert(response.status() === 200, file + ' answered ' + response.status());
    total += (await response.body()).length;
  }
  assert(total <= 51200, 'the page weighs ' + total + ' bytes');
  await page.goto(base);
  await page.getByLabel('Password').waitFor();
  assert(outside.length === 0, 'requests elsewhere: ' + outside.join(' '));
  await page.context().close();
});

test('a wrong password is refused with its reason and no host', async () => {
  const page = await newPage();
  await logIn(page, 'not the password');
  const alert = page.getByRole('alert');
  await until(async () => (await alert.innerText()).trim() !== '', 10000, 'the alert');
  assert(/wrong password/i.test(await alert.innerText()), 'alert says: ' + (await alert.innerText()));
  assert((await page.getByRole('button', { name: /^Wake / }).count()) === 0, 'a Wake button is shown');
  assert((await page.getByRole('row').count()) === 0, 'host rows are shown');
  await page.context().close();
});

test('log in: one row per host with name, address, one state word and a Wake NAME button', async () => {
  const page = await newPage();
  await logInAndWait(page);
  const hosts = await apiHosts(page);
  assert(hosts.length > 0, 'no hosts');
  assert((await page.locator('tbody tr').count()) === hosts.length, 'not one row per host');
  for (const host of hosts) {
    const row = rowOf(page, host.name);
    assert((await row.count()) === 1, host.name + ' has ' + (await row.count()) + ' rows');
    const text = await row.innerText();
    assert(text.includes(host.name), host.name + ': no name in ' + text);
    if (host.address) assert(text.includes(host.address), host.name + ': no address in ' + text);
    // The checks may change a state meanwhile: the row must catch up with the server's word.
    let words = [];
    await until(async () => {
      words = await stateWords(page, host.name);
      const now = (await apiHosts(page)).find((h) => h.name === host.name);
      return words.length === 1 && words[0] === now.state;
    }, 10000, host.name + ' showing one state word, the server\'s (shows ' + words.join('|') + ')');
  }
  for (const group of new Set(hosts.flatMap((h) => h.groups))) {
    assert((await page.getByRole('button', { name: 'Wake all ' + group, exact: true }).count()) === 1, 'no Wake all ' + group);
  }
  await page.context().close();
});

test('a wake by keyboard goes waking then up without reloading, focus staying on the button', async () => {
  const page = await newPage();
  await logInAndWait(page);
  await page.evaluate(() => {
    window.corvaneMarker = 'not reloaded';
  });
  const button = page.getByRole('button', { name: 'Wake ' + options.wake, exact: true });
  await button.focus();
  await page.keyboard.press('Enter');
  await until(async () => (await stateWords(page, options.wake)).join() === 'waking', 15000, options.wake + ' waking');
  const seconds = async () => {
    const text = await rowOf(page, options.wake).innerText();
    assert(/\d+ packets?/.test(text) || !/waking/.test(text), 'waking shows no packets: ' + text);
    assert(!/\d\.\d+ s\b/.test(text), 'waking shows fractions of seconds: ' + text);
    const match = /(\d+) s\b/.exec(text);
    return /waking/.test(text) && match ? Number(match[1]) : null;
  };
  // The seconds count on at least every 2 s while waking.
  const first = await seconds();
  assert(first !== null, 'waking shows no seconds');
  await page.waitForTimeout(2100);
  const second = await seconds();
  assert(second === null || second > first, 'waking stayed at ' + first + ' s for 2 s');
  await until(async () => (await stateWords(page, options.wake)).join() === 'up', wakeSeconds * 1000, options.wake + ' up');
  const upText = await rowOf(page, options.wake).innerText();
  assert(/since .* woke in \d+ s$/m.test(upText), 'up shows no since and wake time: ' + upText);
  assert((await page.evaluate(() => window.corvaneMarker)) === 'not reloaded', 'the page reloaded');
  const focused = await page.evaluate(() => document.activeElement.getAttribute('aria-label'));
  assert(focused === 'Wake ' + options.wake, 'focus moved to ' + focused);
  await page.context().close();
});

test('the filter hides rows whose name does not contain its text, ignoring case', async () => {
  const page = await newPage();
  await logInAndWait(page);
  const names = (await apiHosts(page)).map((h) => h.name);
  const part = names[0].slice(0, 2).toUpperCase();
  await page.getByRole('searchbox', { name: 'Filter' }).fill(part);
  for (const name of names) {
    const shown = await rowOf(page, name).isVisible();
    assert(shown === name.toLowerCase().includes(part.toLowerCase()), name + ' shown: ' + shown + ' for ' + part);
  }
  await page.getByRole('searchbox', { name: 'Filter' }).fill('');
  for (const name of names) assert(await rowOf(page, name).isVisible(), name + ' stays hidden');
  await page.context().close();
});

test('an ended session shows the login; logging in again keeps filter and scroll', async () => {
  const page = await newPage({ viewport: { width: 360, height: 200 } });
  await logInAndWait(page);
  await page.evaluate(() => {
    window.corvaneMarker = 'not reloaded';
  });
  const filter = page.getByRole('searchbox', { name: 'Filter' });
  const letter = (await apiHosts(page))[0].name.slice(0, 1).toUpperCase();
  await filter.fill(letter);
  await page.evaluate(() => window.scrollTo(0, 60));
  const scrolled = await page.evaluate(() => window.scrollY);
  assert(scrolled > 0, 'the page does not scroll');
  // The session ends behind the page's back; the next Wake click (not scrolled to) gets a 401.
  await page.evaluate(() => fetch('/api/logout', { method: 'POST', credentials: 'same-origin' }));
  await page.getByRole('button', { name: /^Wake / }).first().dispatchEvent('click');
  await page.getByLabel('Password').waitFor();
  assert(!(await page.getByRole('button', { name: /^Wake / }).first().isVisible()), 'hosts still shown');
  await logInAndWait(page);
  assert((await page.evaluate(() => window.corvaneMarker)) === 'not reloaded', 'the page reloaded');
  assert((await filter.inputValue()) === letter, 'the filter became ' + (await filter.inputValue()));
  const after = await page.evaluate(() => window.scrollY);
  assert(Math.abs(after - scrolled) <= 2, 'scroll ' + scrolled + ' became ' + after);
  await page.context().close();
});

test('the phone layout (360x740) shows every control without sideways scrolling', async () => {
  const page = await newPage(kPhone);
  await page.goto(base);
  await page.getByLabel('Password').waitFor();
  checkLayout(await layout(page), 360);
  await logInAndWait(page);
  const found = await layout(page);
  assert(found.buttons.length >= 3, 'only ' + found.buttons.length + ' buttons');
  checkLayout(found, 360);
  await page.context().close();
});

test('contrast of at least 4.5:1 in both schemes; dark background luminance at most 0.1', async () => {
  const page = await newPage(kPhone);
  await logInAndWait(page);
  // A waking host and a file error too, so that every state colour and the banner are measured.
  await page.getByRole('button', { name: /^Wake all / }).first().click();
  for (const scheme of ['light', 'dark']) {
    await page.emulateMedia({ colorScheme: scheme });
    const found = await colours(page);
    assert(found.count > 5, scheme + ': only ' + found.count + ' texts');
    assert(found.worst.ratio >= 4.5, scheme + ': contrast ' + found.worst.ratio.toFixed(2) + ' for ' + found.worst.text);
    if (scheme === 'dark') assert(found.background <= 0.1, 'dark background luminance ' + found.background);
  }
  await page.context().close();
});

test('the hosts file error shows in a banner, live', async () => {
  const page = await newPage();
  await logInAndWait(page);
  // The reread list comes as `event: hosts`; the focused button must keep the focus.
  const last = (await apiHosts(page)).at(-1).name;
  await page.getByRole('button', { name: 'Wake ' + last, exact: true }).focus();
  let original = null;
  if (stub) {
    await page.evaluate(() => fetch('/stub/error', { method: 'POST', body: 'hosts:3: not a MAC address' }));
  } else if (options['hosts-file']) {
    original = readFileSync(options['hosts-file']);
    appendFileSync(options['hosts-file'], '\nbroken-line-without-mac\n');
  } else {
    return;
  }
  try {
    const banner = page.locator('#file-error');
    await until(() => banner.isVisible(), 15000, 'the error banner');
    assert(/:\d+:/.test(await banner.innerText()), 'no line in: ' + (await banner.innerText()));
    assert((await page.getByRole('button', { name: /^Wake / }).count()) > 0, 'the last good list is gone');
    const focused = await page.evaluate(() => document.activeElement.getAttribute('aria-label'));
    assert(focused === 'Wake ' + last, 'focus moved to ' + focused);
  } finally {
    if (stub) await page.evaluate(() => fetch('/stub/error', { method: 'POST', body: '' }));
    if (original) writeFileSync(options['hosts-file'], original);
  }
  await page.context().close();
});

if (stub) {
  test('an event stream ended by the server with the session shows the login', async () => {
    const page = await newPage();
    await logInAndWait(page);
    await page.evaluate(() => fetch('/stub/expire', { method: 'POST' }));
    await until(() => page.getByLabel('Password').isVisible(), 15000, 'the login form');
  });
}

test('log out shows the login form and no host', async () => {
  const page = await newPage();
  await logInAndWait(page);
  await page.getByRole('button', { name: 'Log out' }).click();
  await page.getByLabel('Password').waitFor();
  assert((await page.getByRole('button', { name: /^Wake / }).count()) === 0, 'hosts remain');
  const status = await page.evaluate(async () => (await fetch('/api/hosts')).status);
  assert(status === 401, 'the session still answers ' + status);
  await page.context().close();
});

test('no JavaScript errors and no console errors but the expected 401s', async () => {
  assert(problems.length === 0, problems.join('\n'));
});

process.on('SIGTERM', async () => {
  await browser.close();
  process.exit(1);
});
let ok = false;
try {
  ok = await runCases(cases);
} finally {
  await browser.close();
  if (stub) stub.process.kill();
}
process.exit(ok ? 0 : 1);

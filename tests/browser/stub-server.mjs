// A stand-in for corvane-web with fake hosts, for testing the page without namespaces: the same
// API and headers (session cookie, Origin rule, event stream, CSP), hosts that "wake" a few
// seconds after a wake request. It sends nothing to any network but its own HTTP answers.
//   node stub-server.mjs [PORT] [PAGE_DIR]   (prints "listening on http://127.0.0.1:PORT")
// Test hooks, not part of the real API: POST /stub/expire ends every session, POST /stub/error
// with a text body sets (empty: clears) the hosts file error and pushes `event: hosts`.
import { createServer } from 'node:http';
import { randomBytes } from 'node:crypto';
import { readFileSync } from 'node:fs';
import { dirname, join } from 'node:path';
import { fileURLToPath } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
const pageDir = process.argv[3] || join(here, '..', '..', 'src', 'web', 'page');
const kPassword = process.env.STUB_PASSWORD || 'correct horse';
const kWakeSeconds = Number(process.env.STUB_WAKE_SECONDS || 3);
const kResendSeconds = 2;

const files = {
  '/': ['index.html', 'text/html; charset=utf-8'],
  '/app.js': ['app.js', 'text/javascript; charset=utf-8'],
  '/style.css': ['style.css', 'text/css; charset=utf-8'],
};

const now = () => Math.floor(Date.now() / 1000);
const start = now();
const host = (name, mac, address, groups, state, since) => ({
  name, mac, address, groups, state, since, seconds: null, packets: 0,
});
const hosts = [
  host('nas', '00-11-22-33-44-55', '192.0.2.10', ['lab'], 'up', start - 7200),
  host('desktop', '00-11-22-33-44-56', '192.0.2.11', ['office'], 'down', start - 600),
  host('media-pc', '00-11-22-33-44-57', '192.0.2.12', ['lab', 'office'], 'no answer', start - 300),
  host('build-box', '00-11-22-33-44-58', '198.51.100.20', ['lab'], 'down', start - 86400),
  host('printer', '00-11-22-33-44-59', null, [], 'unknown', null),
];
// STUB_LONG_NAMES=1: one more host whose name and group would overflow a phone if not wrapped.
if (process.env.STUB_LONG_NAMES === '1') {
  hosts.push(host('conference-room-projector-controller-2nd-floor', '00-11-22-33-44-5a',
                  '198.51.100.254', ['meeting-rooms-second-floor-east-wing'], 'down', start - 60));
}
let fileError = null;
const sessions = new Set();
const streams = new Set();
const wakes = new Map(); // host name -> wake start (ms)

function send(res, status, body, headers = {}) {
  res.writeHead(status, { 'Content-Type': 'application/json', 'Cache-Control': 'no-store', ...headers });
  res.end(JSON.stringify(body));
}

function cookieSession(req) {
  const match = /(?:^|;\s*)corvane_session=([0-9a-f]{64})/.exec(req.headers.cookie || '');
  return match && sessions.has(match[1]) ? match[1] : null;
}

function sameOrigin(req) {
  return req.headers.origin === 'http://' + req.headers.host;
}

function push(event, data) {
  const text = 'event: ' + event + '\ndata: ' + JSON.stringify(data) + '\n\n';
  for (const res of streams) res.write(text);
}

function wake(h) {
  wakes.set(h.name, Date.now());
  h.state = 'waking';
  h.since = now();
  h.seconds = 0;
  h.packets = 1;
  push('host', h);
}

// Once a second: waking hosts count on, resend, and come up after kWakeSeconds.
setInterval(() => {
  for (const [name, began] of wakes) {
    const h = hosts.find((x) => x.name === name);
    // Fractional seconds, as corvane-web sends them.
    const elapsed = (Date.now() - began) / 1000;
    h.packets = 1 + Math.floor(elapsed / kResendSeconds);
    h.seconds = elapsed;
    if (elapsed >= kWakeSeconds) {
      h.state = 'up';
      h.since = now();
      wakes.delete(name);
    }
    push('host', h);
  }
}, 1000).unref();

async function body(req) {
  const chunks = [];
  for await (const chunk of req) chunks.push(chunk);
  return Buffer.concat(chunks).toString('utf8');
}

const server = createServer(async (req, res) => {
  const url = new URL(req.url, 'http://stub');
  const path = url.pathname;
  if (req.method === 'GET' && files[path]) {
    const [file, type] = files[path];
    res.writeHead(200, {
      'Content-Type': type,
      'Content-Security-Policy': "default-src 'self'",
      'X-Content-Type-Options': 'nosniff',
      'Cache-Control': 'no-cache',
    });
    res.end(readFileSync(join(pageDir, file)));
    return;
  }
  if (path === '/stub/expire' && req.method === 'POST') {
    sessions.clear();
    for (const stream of streams) stream.end();
    send(res, 200, { ok: true });
    return;
  }
  if (path === '/stub/error' && req.method === 'POST') {
    fileError = (await body(req)) || null;
    push('hosts', { hosts, error: fileError });
    send(res, 200, { ok: true });
    return;
  }
  if (!path.startsWith('/api/')) return send(res, 404, { error: 'Not found' });
  if (req.method === 'POST' && !sameOrigin(req)) return send(res, 403, { error: 'Cross-origin request refused' });

  if (path === '/api/login' && req.method === 'POST') {
    let password = null;
    try {
      password = JSON.parse(await body(req)).password;
    } catch (e) {
      return send(res, 400, { error: 'Bad JSON' });
    }
    if (password !== kPassword) return send(res, 401, { error: 'Wrong password' });
    const id = randomBytes(32).toString('hex');
    sessions.add(id);
    return send(res, 200, { ok: true }, {
      'Set-Cookie': 'corvane_session=' + id + '; HttpOnly; SameSite=Strict; Path=/',
    });
  }
  const session = cookieSession(req);
  if (path === '/api/logout' && req.method === 'POST') {
    sessions.delete(session);
    return send(res, 200, { ok: true }, { 'Set-Cookie': 'corvane_session=; Max-Age=0; Path=/' });
  }
  if (!session) return send(res, 401, { error: 'Not logged in' });

  if (path === '/api/hosts' && req.method === 'GET') return send(res, 200, { hosts, error: fileError });
  if (path === '/api/events' && req.method === 'GET') {
    res.writeHead(200, { 'Content-Type': 'text/event-stream', 'Cache-Control': 'no-store' });
    res.write('event: hosts\ndata: ' + JSON.stringify({ hosts, error: fileError }) + '\n\n');
    streams.add(res);
    req.on('close', () => streams.delete(res));
    return;
  }
  const target = /^\/api\/(hosts|groups)\/([^/]+)\/wake$/.exec(path);
  if (target && req.method === 'POST') {
    const name = decodeURIComponent(target[2]);
    if (target[1] === 'hosts') {
      const h = hosts.find((x) => x.name === name);
      if (!h) return send(res, 404, { error: 'No such host: ' + name });
      wake(h);
      return send(res, 202, { host: h });
    }
    const members = hosts.filter((x) => x.groups.includes(name));
    if (members.length === 0) return send(res, 404, { error: 'No such group: ' + name });
    members.forEach(wake);
    return send(res, 202, { hosts: members });
  }
  send(res, 404, { error: 'Not found' });
});

server.listen(Number(process.argv[2] || 0), '127.0.0.1', () => {
  console.log('listening on http://127.0.0.1:' + server.address().port);
});

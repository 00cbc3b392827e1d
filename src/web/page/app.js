// corvane-web's page: log in, list the hosts, wake them, and follow their states live through
// the server's event stream. Live updates change text nodes in place and never rebuild a row, so
// the keyboard focus stays where it is.
'use strict';
(function () {
  const byId = (id) => document.getElementById(id);
  const ui = {
    notice: byId('notice'),
    login: byId('login'),
    loginForm: byId('login-form'),
    loginNote: byId('login-note'),
    loginError: byId('login-error'),
    password: byId('password'),
    view: byId('hosts-view'),
    fileError: byId('file-error'),
    filter: byId('filter'),
    groups: byId('groups'),
    rows: byId('host-rows'),
    noMatch: byId('no-match'),
    logout: byId('logout'),
  };
  const kStates = ['up', 'down', 'waking', 'no answer', 'unknown'];
  const kCookieLost =
    'The password was right, but the browser did not keep the session cookie. ' +
    'Behind --secure-cookies the page works over HTTPS only.';
  const rows = new Map(); // host name -> its row and the last HOST received for it
  const groupButtons = new Map(); // group name -> its "Wake all" button
  let events = null;
  let probing = false;
  let reopenTimer = 0;
  let savedScroll = 0;
  let savedFocus = null;

  // Requests: same-origin cookies; fetch adds the Origin header to a POST by itself.
  async function request(method, path, body) {
    const init = { method, credentials: 'same-origin', cache: 'no-store', headers: {} };
    if (body !== undefined) {
      init.headers['Content-Type'] = 'application/json';
      init.body = JSON.stringify(body);
    }
    const response = await fetch(path, init);
    let data = {};
    try {
      data = await response.json();
    } catch (e) {
      data = {};
    }
    return { status: response.status, data: data || {} };
  }

  // A request made while logged in: a 401 means the session ended.
  async function call(method, path) {
    const answer = await request(method, path);
    if (answer.status === 401) sessionEnded();
    return answer;
  }

  function say(text) {
    ui.notice.textContent = text;
  }

  function errorText(answer, fallback) {
    if (typeof answer.data.error === 'string') return answer.data.error;
    return fallback + ' (' + answer.status + ')';
  }

  // ---- Login and logout ----

  function showLogin(note) {
    closeEvents();
    ui.view.hidden = true;
    ui.logout.hidden = true;
    ui.login.hidden = false;
    ui.loginNote.textContent = note;
    ui.loginError.textContent = '';
    ui.password.value = '';
    ui.password.focus();
  }

  function sessionEnded() {
    if (!ui.login.hidden) return;
    savedScroll = window.scrollY;
    savedFocus = ui.view.contains(document.activeElement) ? document.activeElement : null;
    say('');
    showLogin('Your session has ended. Log in again to see your hosts.');
  }

  // One login at a time: checking a password takes the server a moment, and a second tap
  // meanwhile would only count as another attempt.
  let loggingIn = false;
  ui.loginForm.addEventListener('submit', async (event) => {
    event.preventDefault();
    if (loggingIn) return;
    loggingIn = true;
    ui.loginError.textContent = '';
    let answer;
    try {
      answer = await request('POST', '/api/login', { password: ui.password.value });
    } catch (e) {
      ui.loginError.textContent = 'The server cannot be reached.';
      return;
    } finally {
      loggingIn = false;
    }
    if (answer.status !== 200) {
      ui.loginError.textContent = errorText(answer, 'Login failed');
      ui.password.select();
      return;
    }
    ui.password.value = '';
    await start(true);
  });

  ui.logout.addEventListener('click', async () => {
    try {
      await request('POST', '/api/logout');
    } catch (e) {
      // Logged out here in any case; the server ends the session when it idles out.
    }
    clearHosts();
    savedScroll = 0;
    savedFocus = null;
    say('');
    showLogin('You are logged out.');
  });

  // ---- Starting and the event stream ----

  async function start(afterLogin) {
    let answer;
    try {
      answer = await request('GET', '/api/hosts');
    } catch (e) {
      say('The server cannot be reached. Reload the page to try again.');
      return;
    }
    if (answer.status === 401) {
      // Refused right after a good login: the browser did not keep the cookie, as with
      // --secure-cookies over plain HTTP.
      if (afterLogin) ui.loginError.textContent = kCookieLost;
      else if (ui.login.hidden) showLogin('');
      return;
    }
    if (answer.status !== 200) {
      say(errorText(answer, 'The hosts could not be loaded'));
      return;
    }
    ui.login.hidden = true;
    ui.view.hidden = false;
    ui.logout.hidden = false;
    render(answer.data);
    openEvents();
    // Back where the page was before the session ended: same scroll, same focused control.
    window.scrollTo(0, savedScroll);
    if (savedFocus && savedFocus.isConnected) savedFocus.focus({ preventScroll: true });
    savedFocus = null;
  }

  function openEvents() {
    closeEvents();
    events = new EventSource('/api/events');
    events.addEventListener('open', () => say(''));
    events.addEventListener('hosts', (event) => {
      const data = parse(event.data);
      if (data) render(data);
    });
    events.addEventListener('host', (event) => {
      const host = parse(event.data);
      if (host) update(host);
    });
    events.addEventListener('error', streamFailed);
  }

  function closeEvents() {
    clearTimeout(reopenTimer);
    if (events) events.close();
    events = null;
  }

  // EventSource does not show the status of a refused stream: ask /api/hosts whether the
  // session still holds. The browser retries a broken stream by itself unless it is closed.
  async function streamFailed() {
    if (probing || !events) return;
    probing = true;
    const source = events;
    try {
      const answer = await call('GET', '/api/hosts');
      if (answer.status === 200 && source === events) {
        render(answer.data);
        if (source.readyState === EventSource.CLOSED) reopenLater(3000);
      }
    } catch (e) {
      if (source === events) {
        say('The connection to the server was lost. Trying again\u2026');
        if (source.readyState === EventSource.CLOSED) reopenLater(5000);
      }
    } finally {
      probing = false;
    }
  }

  function reopenLater(ms) {
    clearTimeout(reopenTimer);
    reopenTimer = setTimeout(() => {
      if (events) openEvents();
    }, ms);
  }

  function parse(text) {
    try {
      return JSON.parse(text);
    } catch (e) {
      return null;
    }
  }

  // ---- The table ----

  function setText(node, text) {
    if (node.firstChild === null) node.appendChild(document.createTextNode(''));
    if (node.firstChild.nodeValue !== text) node.firstChild.nodeValue = text;
  }

  function element(tag, className) {
    const node = document.createElement(tag);
    if (className) node.className = className;
    return node;
  }

  function makeRow(name) {
    const tr = element('tr');
    const hostCell = element('th');
    hostCell.scope = 'row';
    const nameNode = element('span', 'name');
    setText(nameNode, name);
    const addr = element('span', 'addr');
    const member = element('span', 'member');
    hostCell.append(nameNode, addr, member);
    const stateCell = element('td');
    const state = element('span', 'state');
    const detail = element('span', 'detail');
    stateCell.append(state, detail);
    const wakeCell = element('td');
    const button = element('button');
    button.type = 'button';
    button.textContent = 'Wake';
    button.setAttribute('aria-label', 'Wake ' + name);
    button.addEventListener('click', () => wakeHost(name));
    wakeCell.append(button);
    tr.append(hostCell, stateCell, wakeCell);
    return { tr, addr, member, state, detail, host: null, received: 0 };
  }

  function fill(row, host) {
    row.host = host;
    row.received = performance.now();
    setText(row.addr, host.address || 'no address');
    row.addr.classList.toggle('none', !host.address);
    const groups = Array.isArray(host.groups) ? host.groups : [];
    setText(row.member, groups.join(', '));
    row.member.hidden = groups.length === 0;
    const state = kStates.includes(host.state) ? host.state : 'unknown';
    setText(row.state, state);
    const stateClass = 'state s-' + state.replace(' ', '-');
    if (row.state.className !== stateClass) row.state.className = stateClass;
    showDetail(row);
  }

  const sameDay = new Intl.DateTimeFormat(undefined, { hour: '2-digit', minute: '2-digit' });
  const otherDay = new Intl.DateTimeFormat(undefined, {
    day: 'numeric',
    month: 'short',
    hour: '2-digit',
    minute: '2-digit',
  });

  function clockTime(unixSeconds) {
    const date = new Date(unixSeconds * 1000);
    const today = new Date();
    return (date.toDateString() === today.toDateString() ? sameDay : otherDay).format(date);
  }

  function packets(n) {
    return n + (n === 1 ? ' packet' : ' packets');
  }

  // The line under the state word. A wake's seconds count on from the server's figure by the
  // time elapsed since it arrived, so the phone's clock never enters.
  function showDetail(row) {
    const host = row.host;
    const sent = Number(host.packets) || 0;
    let text = '';
    if (host.state === 'waking') {
      const elapsed = (performance.now() - row.received) / 1000;
      text = Math.floor((Number(host.seconds) || 0) + elapsed) + ' s \u00b7 ' + packets(sent);
    } else if (typeof host.since === 'number') {
      text = 'since ' + clockTime(host.since);
      if (host.state === 'up' && typeof host.seconds === 'number') {
        text += ' \u00b7 woke in ' + Math.round(host.seconds) + ' s';
      }
      if (host.state === 'no answer' && sent > 0) text += ' \u00b7 ' + packets(sent);
    } else if (host.state === 'unknown') {
      text = 'not checked yet';
    }
    setText(row.detail, text);
  }

  setInterval(() => {
    for (const row of rows.values()) {
      if (row.host.state === 'waking') showDetail(row);
    }
  }, 1000);

  // Event `hosts` and GET /api/hosts: the whole list, in file order. Rows are kept by name and
  // moved only where the order changed.
  function render(data) {
    const hosts = Array.isArray(data.hosts) ? data.hosts : [];
    const fileError = typeof data.error === 'string' && data.error !== '' ? data.error : '';
    const banner =
      'The hosts file could not be read: ' + fileError + '. The list below is the last good one.';
    setText(ui.fileError, fileError ? banner : '');
    ui.fileError.hidden = fileError === '';

    const order = [];
    const seen = new Set();
    for (const host of hosts) {
      if (!host || typeof host.name !== 'string' || seen.has(host.name)) continue;
      seen.add(host.name);
      let row = rows.get(host.name);
      if (!row) {
        row = makeRow(host.name);
        rows.set(host.name, row);
      }
      fill(row, host);
      order.push(row.tr);
    }
    for (const [name, row] of rows) {
      if (!seen.has(name)) {
        row.tr.remove();
        rows.delete(name);
      }
    }
    const focused = document.activeElement;
    let next = ui.rows.firstChild;
    for (const tr of order) {
      if (next === tr) next = next.nextSibling;
      else ui.rows.insertBefore(tr, next);
    }
    if (focused && focused !== document.activeElement && focused.isConnected) {
      focused.focus({ preventScroll: true });
    }
    showGroups();
    applyFilter();
  }

  // Event `host`: one row changes in place.
  function update(host) {
    if (!host || typeof host.name !== 'string') return;
    let row = rows.get(host.name);
    if (!row) {
      row = makeRow(host.name);
      rows.set(host.name, row);
      ui.rows.appendChild(row.tr);
      fill(row, host);
      showGroups();
      applyFilter();
      return;
    }
    const before = row.host.groups ? row.host.groups.join('\n') : '';
    fill(row, host);
    if ((host.groups ? host.groups.join('\n') : '') !== before) showGroups();
  }

  function clearHosts() {
    rows.clear();
    groupButtons.clear();
    ui.rows.replaceChildren();
    ui.groups.replaceChildren();
  }

  // One "Wake all GROUP" button per group, in the order the groups first appear in the file.
  function showGroups() {
    const names = [];
    for (const row of rows.values()) {
      for (const group of row.host.groups || []) {
        if (typeof group === 'string' && !names.includes(group)) names.push(group);
      }
    }
    for (const [name, button] of groupButtons) {
      if (!names.includes(name)) {
        button.remove();
        groupButtons.delete(name);
      }
    }
    let next = ui.groups.firstChild;
    for (const name of names) {
      let button = groupButtons.get(name);
      if (!button) {
        button = element('button');
        button.type = 'button';
        button.textContent = 'Wake all ' + name;
        button.addEventListener('click', () => wakeGroup(name));
        groupButtons.set(name, button);
      }
      if (next === button) next = next.nextSibling;
      else ui.groups.insertBefore(button, next);
    }
    ui.groups.hidden = names.length === 0;
  }

  function applyFilter() {
    const text = ui.filter.value.toLowerCase();
    let shown = 0;
    for (const [name, row] of rows) {
      const hide = text !== '' && !name.toLowerCase().includes(text);
      if (row.tr.hidden !== hide) row.tr.hidden = hide;
      if (!hide) shown++;
    }
    const noMatch = 'No host name contains \u201c' + ui.filter.value + '\u201d.';
    setText(ui.noMatch, rows.size === 0 ? 'The hosts file names no host.' : noMatch);
    ui.noMatch.hidden = shown > 0;
  }

  ui.filter.addEventListener('input', applyFilter);

  // ---- Waking ----

  async function wake(path, what) {
    let answer;
    try {
      answer = await call('POST', path);
    } catch (e) {
      say('The server cannot be reached: ' + what + ' was not woken.');
      return null;
    }
    if (answer.status === 401) return null;
    if (answer.status !== 202) {
      say(what + ': ' + errorText(answer, 'the wake failed'));
      return null;
    }
    say('Magic packet sent: ' + what + '.');
    return answer.data;
  }

  async function wakeHost(name) {
    const data = await wake('/api/hosts/' + encodeURIComponent(name) + '/wake', name);
    if (data && data.host) update(data.host);
  }

  async function wakeGroup(name) {
    const data = await wake('/api/groups/' + encodeURIComponent(name) + '/wake', 'group ' + name);
    if (data && Array.isArray(data.hosts)) data.hosts.forEach(update);
  }

  start();
})();

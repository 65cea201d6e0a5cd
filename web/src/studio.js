// The studio's page: the host's view, the artist's mouse and keys sent to
// the host as the input events hostInput sends, orbit/pan/zoom moving the
// host's camera, controls and a command line that run host commands.

import { HostView } from './view.js';

const $ = (id) => document.getElementById(id);
const viewport = $('viewport');
const view = new HostView(viewport);
const log = $('log');

const state = {
  socket: null,
  welcome: null,
  nextId: 1,
  pending: new Map(),     // command id -> what to do with its result
  camera: null,           // the host's camera as the last frame had it
  drag: null,             // the tool's button held down
  navigate: null,         // an orbit, pan or zoom under way
  pendingMove: null,
  results: [],            // every command result, for the tests and the curious
};
window.studio = state;
window.studioView = view;

// ------------------------------------------------------------ messages shown

function logLine(text, kind) {
  const line = document.createElement('div');
  line.className = kind;
  line.textContent = text;
  log.appendChild(line);
  while (log.childNodes.length > 500) log.removeChild(log.firstChild);
  log.scrollTop = log.scrollHeight;
}

function showError(text) {
  logLine(`// Error: ${text} //`, 'error');
  const box = document.createElement('div');
  box.textContent = text;
  $('errors').appendChild(box);
  while ($('errors').childNodes.length > 3) $('errors').removeChild($('errors').firstChild);
  setTimeout(() => box.remove(), 10000);
}

function showMessages(messages) {
  for (const m of messages || []) {
    if (m.kind === 'result') logLine(`// Result: ${m.text} //`, 'result');
    else if (m.kind === 'error') showError(m.text);
    else if (m.kind === 'warning') logLine(`// Warning: ${m.text} //`, 'warning');
    else logLine(m.text, 'info');
  }
}

function setStatus(text, down) {
  $('status').textContent = text;
  $('status').classList.toggle('down', !!down);
}

// ------------------------------------------------------------ the socket

function send(message) {
  if (state.socket && state.socket.readyState === WebSocket.OPEN) state.socket.send(JSON.stringify(message));
}

/** Runs host command text; then(result) gets the reply. */
function runCommand(text, then, quiet) {
  const id = state.nextId++;
  state.pending.set(id, { text, then, quiet });
  if (!quiet) logLine(`> ${text}`, 'command');
  send({ type: 'command', id, text });
}

/** A string as the command language quotes it. */
function quoted(text) {
  return `"${text.replace(/[\\"]/g, '\\$&').replace(/\n/g, '\\n')}"`;
}

function portSize() {
  return { width: Math.max(1, Math.floor(viewport.clientWidth)), height: Math.max(1, Math.floor(viewport.clientHeight)) };
}

function connect() {
  const socket = new WebSocket(`ws://${location.host}/socket`);
  socket.binaryType = 'arraybuffer';
  state.socket = socket;
  socket.onopen = () => {
    setStatus('connected');
    const size = portSize();
    view.setSize(size.width, size.height);
    send({ type: 'hello', ...size });
  };
  socket.onmessage = (event) => {
    if (event.data instanceof ArrayBuffer) {
      view.receiveMesh(event.data);
      return;
    }
    let message;
    try {
      message = JSON.parse(event.data);
    } catch (e) {
      showError(`the studio sent what is not JSON: ${e.message}`);
      return;
    }
    received(message);
  };
  socket.onclose = (event) => {
    setStatus(`disconnected${event.reason ? `: ${event.reason}` : ''} (reload the page to reconnect)`, true);
    if (state.drag) state.drag = null;
  };
  socket.onerror = () => setStatus('the connection failed (is the studio running?)', true);
}

function received(message) {
  switch (message.type) {
    case 'welcome':
      state.welcome = message;
      $('source').textContent = `source: ${message.source || '(scene)'}, rail node: ${message.rail}`;
      if (message.sceneFile) $('sceneFile').value = message.sceneFile;
      readSettings();
      break;
    case 'frame':
      state.camera = message.camera;
      view.receiveFrame(message);
      document.body.dataset.frames = String(view.frames);
      break;
    case 'result': {
      const asked = state.pending.get(message.id);
      state.pending.delete(message.id);
      state.results.push({ id: message.id, text: asked?.text, ok: message.ok, messages: message.messages });
      if (!asked?.quiet || !message.ok) showMessages(message.messages);
      if (asked?.then) asked.then(message);
      break;
    }
    case 'messages':
      showMessages(message.messages);
      break;
    case 'error':
      showError(message.text);
      break;
    case 'refused':
      setStatus('refused', true);
      showError(message.text);
      break;
    default:
      showError(`the studio sent a message of an unknown type: ${message.type}`);
  }
}

// ------------------------------------------------------------ controls

function resultValue(reply) {
  const r = reply.messages.find((m) => m.kind === 'result');
  return r ? r.text : '';
}

function hex(r, g, b) {
  const h = (v) => Math.round(Math.min(1, Math.max(0, v)) * 255).toString(16).padStart(2, '0');
  return `#${h(r)}${h(g)}${h(b)}`;
}

function channels(hexText) {
  const v = parseInt(hexText.slice(1), 16);
  return [(v >> 16) & 255, (v >> 8) & 255, v & 255].map((c) => c / 255);
}

/** The controls start from what the host has. */
function readSettings() {
  const ctx = state.welcome.context;
  runCommand(`TessarkContext -q -u ${ctx}`, (r) => { if (r.ok) $('uSpans').value = resultValue(r); }, true);
  runCommand(`TessarkContext -q -v ${ctx}`, (r) => { if (r.ok) $('vSpans').value = resultValue(r); }, true);
  const names = ['kvCutSurfCr', 'kvCutSurfCg', 'kvCutSurfCb', 'kvCutSa', 'kvCutLineCr', 'kvCutLineCg', 'kvCutLineCb', 'kvCutLw'];
  const values = {};
  let left = names.length;
  for (const name of names) {
    runCommand(`optionVar -ex ${name}`, (exists) => {
      const done = () => { if (--left === 0) showOverlaySettings(values); };
      if (!exists.ok || resultValue(exists) !== '1') return done();
      runCommand(`optionVar -q ${name}`, (r) => { if (r.ok) values[name] = Number(resultValue(r)); done(); }, true);
      return undefined;
    }, true);
  }
}

function showOverlaySettings(v) {
  const get = (name, fallback) => (Number.isFinite(v[name]) ? v[name] : fallback);
  $('surfaceColor').value = hex(get('kvCutSurfCr', 0.14), get('kvCutSurfCg', 0.14), get('kvCutSurfCb', 0.17));
  $('surfaceOpacity').value = get('kvCutSa', 0.3);
  $('lineColor').value = hex(get('kvCutLineCr', 0.08), get('kvCutLineCg', 0.06), get('kvCutLineCb', 0.17));
  $('lineWidth').value = get('kvCutLw', 2.5);
}

function number(id) {
  const v = Number($(id).value);
  return Number.isFinite(v) ? v : 0;
}

$('applySpans').onclick = () => {
  runCommand(`TessarkContext -e -u ${Math.round(number('uSpans'))} -v ${Math.round(number('vSpans'))} ${state.welcome.context}`);
};
$('applyBrush').onclick = () => {
  const ctx = state.welcome.context;
  runCommand($('brushOn').checked
    ? `TessarkContext -e -rb 1 -rad ${number('brushRadius')} -i ${number('brushIntensity')} ${ctx}`
    : `TessarkContext -e -rb 0 ${ctx}`);
};
$('applyOverlay').onclick = () => {
  const [sr, sg, sb] = channels($('surfaceColor').value);
  const [lr, lg, lb] = channels($('lineColor').value);
  const set = (name, value) => `optionVar -fv ${name} ${value}`;
  runCommand([set('kvCutSurfCr', sr), set('kvCutSurfCg', sg), set('kvCutSurfCb', sb),
    set('kvCutSa', number('surfaceOpacity')), set('kvCutLineCr', lr), set('kvCutLineCg', lg),
    set('kvCutLineCb', lb), set('kvCutLw', number('lineWidth'))].join('; '));
};
$('saveScene').onclick = () => {
  runCommand(`file -rename ${quoted($('sceneFile').value)}; file -save`);
};
$('exportObj').onclick = () => {
  runCommand(`file -exportSelected ${quoted($('objFile').value)} -type "OBJexport"`);
};

const history = [];
let historyAt = 0;
$('commandForm').onsubmit = (event) => {
  event.preventDefault();
  const text = $('command').value.trim();
  if (!text) return;
  history.push(text);
  historyAt = history.length;
  $('command').value = '';
  runCommand(text);
};
$('command').addEventListener('keydown', (event) => {
  if (event.key === 'ArrowUp' && historyAt > 0) $('command').value = history[--historyAt];
  else if (event.key === 'ArrowDown' && historyAt < history.length) $('command').value = history[++historyAt] || '';
  else return;
  event.preventDefault();
});

// ------------------------------------------------------------ the camera

const sub = (a, b) => [a[0] - b[0], a[1] - b[1], a[2] - b[2]];
const add = (a, b) => [a[0] + b[0], a[1] + b[1], a[2] + b[2]];
const scale = (a, s) => [a[0] * s, a[1] * s, a[2] * s];
const dot = (a, b) => a[0] * b[0] + a[1] * b[1] + a[2] * b[2];
const cross = (a, b) => [a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]];
const length = (a) => Math.sqrt(dot(a, a));
const unit = (a) => scale(a, 1 / (length(a) || 1));

/** a turned about the unit axis by angle (Rodrigues). */
function rotate(a, axis, angle) {
  const c = Math.cos(angle);
  const s = Math.sin(angle);
  return add(add(scale(a, c), scale(cross(axis, a), s)), scale(axis, dot(axis, a) * (1 - c)));
}

/** Orbit about the centre of interest, pan across the view, or dolly towards it. */
function navigated(start, mode, dx, dy) {
  let { eye, coi, up } = start;
  const offset = sub(eye, coi);
  const distance = length(offset);
  if (mode === 'orbit') {
    const world = [0, 1, 0];
    let o = rotate(offset, world, -dx * 0.006);
    let u = rotate(up, world, -dx * 0.006);
    const right = unit(cross(scale(o, -1), u));
    const pitched = rotate(o, right, -dy * 0.006);
    // Not over the top: the view direction would line up with the up direction.
    if (Math.abs(dot(unit(pitched), world)) < 0.995) {
      o = pitched;
      u = rotate(u, right, -dy * 0.006);
    }
    eye = add(coi, o);
    up = u;
  } else if (mode === 'pan') {
    const fov = state.camera.verticalFov || 0.66;
    const perPixel = (2 * distance * Math.tan(fov / 2)) / (state.camera.height || 1);
    const right = unit(cross(scale(offset, -1), up));
    const move = add(scale(right, -dx * perPixel), scale(unit(up), dy * perPixel));
    eye = add(eye, move);
    coi = add(coi, move);
  } else {
    const factor = Math.exp(dy * 0.01);
    eye = add(coi, scale(offset, Math.max(1e-3, factor)));
  }
  return { eye, coi, up };
}

function placeCamera(pose, final) {
  view.lookFrom(pose.eye, pose.coi, pose.up);
  state.cameraPose = pose;
  if (final || !state.cameraSendPending) {
    state.cameraSendPending = true;
    requestAnimationFrame(() => {
      state.cameraSendPending = false;
      const p = state.cameraPose;
      send({ type: 'camera', eye: p.eye, lookAt: p.coi, up: p.up });
    });
  }
}

function currentPose() {
  const c = state.camera;
  return { eye: c.eye, coi: c.centerOfInterest, up: c.up };
}

viewport.addEventListener('wheel', (event) => {
  event.preventDefault();
  if (!state.camera || state.drag) return;
  const start = state.navigate ? state.navigate.pose : (state.cameraPose && state.wheelRecently ? state.cameraPose : currentPose());
  state.wheelRecently = true;
  clearTimeout(state.wheelTimer);
  state.wheelTimer = setTimeout(() => { state.wheelRecently = false; }, 400);
  placeCamera(navigated(start, 'dolly', 0, event.deltaY * 0.25), true);
}, { passive: false });

// ------------------------------------------------------------ the tool's input

/** The pointer in view pixels: origin at the bottom left, inside the port. */
function viewPixel(event) {
  const r = viewport.getBoundingClientRect();
  const w = state.camera ? state.camera.width : r.width;
  const h = state.camera ? state.camera.height : r.height;
  const x = Math.min(w - 1, Math.max(0, event.clientX - r.left));
  const y = Math.min(h - 1, Math.max(0, h - (event.clientY - r.top)));
  return { x: Math.round(x), y: Math.round(y) };
}

function pointerMessage(kind, button, event) {
  return { type: 'pointer', event: kind, button, ...viewPixel(event), shift: event.shiftKey, ctrl: event.ctrlKey };
}

viewport.addEventListener('contextmenu', (event) => event.preventDefault());

viewport.addEventListener('pointerdown', (event) => {
  viewport.focus();
  if (!state.camera || state.drag || state.navigate) return;
  const navigation = event.altKey
    ? ['orbit', 'pan', 'dolly'][event.button]
    : event.button === 2 ? (event.shiftKey ? 'pan' : 'orbit') : null;
  viewport.setPointerCapture(event.pointerId);
  event.preventDefault();
  if (navigation) {
    state.navigate = { mode: navigation, x: event.clientX, y: event.clientY, start: currentPose(), pose: currentPose() };
    return;
  }
  const button = event.button === 0 ? 'left' : event.button === 1 ? 'middle' : null;
  if (!button) return;
  state.drag = { button, pointerId: event.pointerId };
  send(pointerMessage('press', button, event));
});

viewport.addEventListener('pointermove', (event) => {
  if (state.navigate) {
    const n = state.navigate;
    n.pose = navigated(n.start, n.mode, event.clientX - n.x, event.clientY - n.y);
    placeCamera(n.pose, false);
    return;
  }
  if (state.drag) {
    // Every sample of a drag goes: the stroke is drawn from them.
    send(pointerMessage('drag', state.drag.button, event));
    return;
  }
  if (!state.camera) return;
  // Hovering: only the latest position, once a frame.
  const first = !state.pendingMove;
  state.pendingMove = pointerMessage('move', 'left', event);
  if (first) requestAnimationFrame(() => { send(state.pendingMove); state.pendingMove = null; });
});

function endPointer(event) {
  if (state.navigate) {
    placeCamera(state.navigate.pose, true);
    state.navigate = null;
    return;
  }
  if (!state.drag) return;
  send(pointerMessage('release', state.drag.button, event));
  state.drag = null;
}
viewport.addEventListener('pointerup', endPointer);
viewport.addEventListener('pointercancel', endPointer);

document.addEventListener('keydown', (event) => {
  const typing = event.target instanceof HTMLInputElement || event.target instanceof HTMLTextAreaElement;
  if (typing) return;
  const ctrl = event.ctrlKey || event.metaKey;
  if (ctrl && (event.key === 'z' || event.key === 'Z')) {
    send({ type: event.shiftKey ? 'redo' : 'undo' });
  } else if (ctrl && (event.key === 'y' || event.key === 'Y')) {
    send({ type: 'redo' });
  } else if (!ctrl && event.key === 'Enter') {
    send({ type: 'key', key: 'enter' });
  } else if (!ctrl && event.key === 'Backspace') {
    send({ type: 'key', key: 'backspace' });
  } else if (event.key === 'Escape') {
    send({ type: 'key', key: 'escape' });
  } else {
    return;
  }
  event.preventDefault();
});

new ResizeObserver(() => {
  const size = portSize();
  if (size.width === view.width && size.height === view.height) return;
  view.setSize(size.width, size.height);
  if (!state.drag) send({ type: 'resize', ...size });
}).observe(viewport);

connect();

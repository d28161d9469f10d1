// Kell Hud Studio: lays out the HUD by dragging its elements over the simulated host's
// preview. Plain script, no framework: the server embeds this file as it is.
'use strict';
(() => {
  const token = new URLSearchParams(location.search).get('token') || '';
  const $ = (id) => document.getElementById(id);
  const ANCHOR_GRID = [
    ['left-top', '↖'], ['centre-top', '↑'], ['right-top', '↗'],
    ['left-centre', '←'], ['centre-centre', '•'], ['right-centre', '→'],
    ['left-bottom', '↙'], ['centre-bottom', '↓'], ['right-bottom', '↘'],
  ];
  const SNAP_SCREEN_PX = 6;      // snapping distance, in pixels of the page (not of the picture)
  const DRAG_START_PX = 3;       // a smaller movement is a click
  const COALESCE_MS = 1500;      // typing into one field within this time is one undo step
  const DRAG_RENDER_MS = 700;    // while dragging, a render at most this often

  let state = null;              // what the server read from disk, for the current style
  let layoutIndex = new Map();
  let colourIndex = new Map();
  let settingIndex = new Map();
  let cur = {};                  // CHANGES: only what differs from the files on disk
  let history = [];              // snapshots of CHANGES; history[hIndex] is cur
  let hIndex = 0;
  let selected = null;           // selected layout key
  let selectedColour = null;
  let tab = 'layout';
  let findings = [];
  let last = null;               // the last finished render
  let drag = null;
  let scale = 1;                 // page pixels per picture pixel
  const view = { scenario: 'preview', width: 1920, height: 1080, style: 'base' };
  const rendering = { timer: null, inFlight: false, pending: false, error: '' };
  const settledWaiters = [];
  let readyResolve;

  const studio = {
    ready: new Promise((resolve) => { readyResolve = resolve; }),
    isReady: false,
    renders: 0,
    lastRender: null,
    get changes() { return clone(cur); },
    get selected() { return selected; },
    select: (key) => selectElement(key),
    // Resolves once no render is waiting, scheduled or in flight: tests wait on this.
    settled: () => new Promise((resolve) => { settledWaiters.push(resolve); checkSettled(); }),
  };
  window.studio = studio;

  // ------------------------------------------------------------------ helpers

  const clone = (v) => JSON.parse(JSON.stringify(v));
  const sameNums = (a, b) => a.length === b.length && a.every((v, i) => v === b[i]);
  const tidy = (v) => Math.round(v * 1e6) / 1e6; // drops float noise from sums
  const isEmpty = (ch) => Object.keys(ch).length === 0;

  // A stable text of a value (sorted keys), to compare two CHANGES.
  function canon(v) {
    if (Array.isArray(v)) return '[' + v.map(canon).join(',') + ']';
    if (v && typeof v === 'object') {
      return '{' + Object.keys(v).sort().map((k) => JSON.stringify(k) + ':' + canon(v[k])).join(',') + '}';
    }
    return JSON.stringify(v);
  }

  function make(tag, attrs = {}, ...children) {
    const node = document.createElement(tag);
    for (const [k, v] of Object.entries(attrs)) {
      if (v === undefined || v === null || v === false) continue;
      if (k === 'class') node.className = v;
      else if (k === 'text') node.textContent = v;
      else if (k.startsWith('on')) node.addEventListener(k.slice(2), v);
      else if (k in node && typeof v !== 'string') node[k] = v;
      else node.setAttribute(k, v === true ? '' : v);
    }
    for (const c of children) if (c !== null && c !== undefined) node.append(c);
    return node;
  }

  async function api(method, path, body) {
    const headers = { 'X-Kell-Token': token };
    if (body !== undefined) headers['Content-Type'] = 'application/json';
    let res;
    try {
      res = await fetch(path, { method, headers, body: body === undefined ? undefined : JSON.stringify(body) });
    } catch (e) {
      return { status: 0, ok: false, data: { error: 'The studio does not answer (' + e.message + '). Is it still running?' } };
    }
    let data;
    try { data = await res.json(); } catch { data = { error: res.status + ' ' + res.statusText }; }
    if (!data || typeof data !== 'object') data = { error: String(data) };
    return { status: res.status, ok: res.ok, data };
  }

  // ------------------------------------------------------------------ effective values

  function effLayout(key) {
    const c = cur.layout && cur.layout[key];
    const e = layoutIndex.get(key);
    if (c) return { values: c.values.slice(), anchor: c.anchor || '' };
    return { values: e.values.slice(), anchor: e.anchor || '' };
  }
  function effColour(key) {
    const c = cur.colours && cur.colours[key];
    return (c || colourIndex.get(key).values).slice();
  }
  function effSetting(key) {
    const c = cur.settings && cur.settings[key];
    return c !== undefined ? c : settingIndex.get(key).value;
  }

  // Keeps only what differs from the files on disk, so that undoing back to the file's
  // value leaves nothing to save.
  function normalize(ch) {
    const out = {};
    for (const [k, v] of Object.entries(ch.layout || {})) {
      const e = layoutIndex.get(k);
      if (!e) continue;
      const anchor = v.anchor || '';
      if (!sameNums(v.values, e.values) || anchor !== (e.anchor || '')) {
        (out.layout = out.layout || {})[k] = { values: v.values.map(Number), anchor };
      }
    }
    for (const [k, v] of Object.entries(ch.colours || {})) {
      const e = colourIndex.get(k);
      if (e && !sameNums(v, e.values)) (out.colours = out.colours || {})[k] = v.map(Number);
    }
    for (const [k, v] of Object.entries(ch.settings || {})) {
      const e = settingIndex.get(k);
      if (e && String(v) !== e.value) (out.settings = out.settings || {})[k] = String(v);
    }
    return out;
  }

  // How values x/y change when the element moves right/down on screen: an anchor's
  // edges decide for the axes it acts on, the element's own edges otherwise.
  function signOf(entry, anchor) {
    let [sx, sy] = entry.sign || [1, 1];
    if (anchor) {
      const [h, v] = anchor.split('-');
      const moves = entry.moves || '';
      if (moves.includes('x')) sx = h === 'right' ? -1 : 1;
      if (moves.includes('y')) sy = v === 'bottom' ? -1 : 1;
    }
    return [sx, sy];
  }

  // The anchor cells an element accepts: an axis it cannot move on keeps its own edge.
  function anchorAllowed(entry, anchor) {
    const moves = entry.moves || '';
    if (!moves) return false;
    const [h, v] = anchor.split('-');
    const [sx, sy] = entry.sign || [1, 1];
    if (!moves.includes('x') && h !== (sx < 0 ? 'right' : 'left')) return false;
    if (!moves.includes('y') && v !== (sy < 0 ? 'bottom' : 'top')) return false;
    return true;
  }

  // ------------------------------------------------------------------ changes and history

  function resetHistory() {
    history = [{ json: canon(cur), tag: null, at: 0 }];
    hIndex = 0;
  }

  // Every edit goes through here. commit: false keeps it out of the history (a drag in
  // progress); tag: edits with the same tag in quick succession make one undo step.
  function setChanges(next, opts = {}) {
    cur = normalize(next);
    if (opts.commit !== false) pushHistory(opts.tag || null);
    refreshAll();
    if (!opts.noRender) scheduleRender();
  }

  function pushHistory(tag) {
    const json = canon(cur);
    const top = history[hIndex];
    if (top && top.json === json) return;
    const now = Date.now();
    if (tag && top && top.tag === tag && now - top.at < COALESCE_MS && hIndex > 0) {
      history[hIndex] = { json, tag, at: now };
      return;
    }
    history.splice(hIndex + 1);
    history.push({ json, tag, at: now });
    hIndex = history.length - 1;
  }

  function undo() {
    if (hIndex === 0) return;
    hIndex--;
    cur = JSON.parse(history[hIndex].json);
    history[hIndex].tag = null; // the next edit is a step of its own, never folded into this one
    refreshAll();
    scheduleRender();
  }

  function redo() {
    if (hIndex >= history.length - 1) return;
    hIndex++;
    cur = JSON.parse(history[hIndex].json);
    history[hIndex].tag = null;
    refreshAll();
    scheduleRender();
  }

  function withLayout(key, layout) {
    const next = clone(cur);
    next.layout = next.layout || {};
    next.layout[key] = { values: layout.values.slice(), anchor: layout.anchor || '' };
    return next;
  }

  // ------------------------------------------------------------------ rendering

  function scheduleRender(delay = 150) {
    clearTimeout(rendering.timer);
    rendering.timer = setTimeout(() => { rendering.timer = null; startRender(); }, delay);
    showRenderState();
  }

  // Only one render in flight; a request made meanwhile renders the latest state after it.
  async function startRender() {
    if (!state) return;
    if (rendering.inFlight) { rendering.pending = true; return; }
    rendering.inFlight = true;
    rendering.pending = false;
    const request = { changes: clone(cur), scenario: view.scenario, width: view.width, height: view.height, style: view.style };
    const layoutAtRequest = new Map();
    for (const key of layoutIndex.keys()) layoutAtRequest.set(key, effLayout(key));
    showRenderState();
    const r = await api('POST', '/api/render', request);
    // A failed picture still comes with the boxes and findings, which say what is wrong.
    const hasPicture = r.ok && typeof r.data.image === 'string';
    if (r.ok && Array.isArray(r.data.boxes)) {
      if (hasPicture) {
        try {
          const img = new Image();
          img.src = r.data.image;
          await img.decode();
        } catch { /* the <img> below shows what it can */ }
        $('preview').src = r.data.image;
      }
      last = {
        width: request.width, height: request.height,
        unit: Math.min(request.width, request.height) / 1080,
        boxes: r.data.boxes,
        layout: layoutAtRequest,
        ms: r.data.ms,
      };
      findings = Array.isArray(r.data.findings) ? r.data.findings : [];
      rendering.error = hasPicture ? '' : (r.data.error || 'the preview has no picture');
      studio.renders++;
      studio.lastRender = { request, boxes: last.boxes, findings, ms: r.data.ms, error: rendering.error, at: Date.now() };
      $('picture').hidden = false;
      $('stage-empty').hidden = true;
      fit();
      renderFindings();
      refreshSaveButton();
    } else {
      rendering.error = r.data.error || 'the render failed';
      studio.lastRender = { request, error: rendering.error, at: Date.now() };
      if (!last) $('stage-empty').textContent = 'No preview: ' + rendering.error;
    }
    rendering.inFlight = false;
    if (rendering.pending) startRender();
    showRenderState();
    checkSettled();
    if (rendering.error) showMessage('error', 'The preview failed: ' + rendering.error, [], false, 'render');
    else if (messageSource === 'render') hideMessage();
    if (r.ok) checkDisk();
    if (!studio.isReady) {
      studio.isReady = true;
      readyResolve(studio.lastRender);
    }
  }

  function checkSettled() {
    if (rendering.timer || rendering.inFlight || rendering.pending || drag) return;
    while (settledWaiters.length) settledWaiters.shift()(studio.lastRender);
  }

  function showRenderState() {
    const node = $('render-state');
    const busy = !!(rendering.timer || rendering.inFlight);
    node.classList.toggle('busy', busy);
    node.classList.toggle('failed', !busy && !!rendering.error);
    if (busy) node.textContent = 'rendering…';
    else if (rendering.error) { node.textContent = 'render failed'; node.title = rendering.error; }
    else if (last) { node.textContent = (last.ms !== undefined ? last.ms + ' ms' : ''); node.title = 'Time the last preview took'; }
    else node.textContent = '';
  }

  // ------------------------------------------------------------------ the stage

  function fit() {
    if (!last) return;
    const stage = $('stage');
    const availW = Math.max(50, stage.clientWidth - 24);
    const availH = Math.max(50, stage.clientHeight - 24);
    // Never larger than the picture itself: at 1:1 one page pixel is one screen pixel.
    scale = Math.min(1, availW / last.width, availH / last.height);
    const pic = $('picture');
    pic.style.width = Math.round(last.width * scale) + 'px';
    pic.style.height = Math.round(last.height * scale) + 'px';
    scale = Math.round(last.width * scale) / last.width;
    drawOverlay();
  }

  // The boxes of the last render, moved by what changed in the page since it was asked
  // for, so that a drag or a nudge shows at once rather than after the next render.
  function displayBoxes() {
    if (!last) return [];
    const out = [];
    for (const b of last.boxes) {
      const entry = layoutIndex.get(b.key);
      const then = last.layout.get(b.key);
      let box = { key: b.key, left: b.left, top: b.top, right: b.right, bottom: b.bottom };
      if (entry && then) {
        const now = effLayout(b.key);
        if (now.anchor === then.anchor) {
          const [sx, sy] = signOf(entry, now.anchor);
          const dx = (now.values[0] - then.values[0]) * sx * last.unit;
          const dy = (now.values[1] - then.values[1]) * sy * last.unit;
          let dw = 0;
          let dh = 0;
          if (now.values.length === 4) {
            const sizes = entry.sizes || [];
            if (sizes[2] && then.values[2] > 0) dw = (now.values[2] - then.values[2]) * (b.right - b.left) / then.values[2];
            if (sizes[3] && then.values[3] > 0) dh = (now.values[3] - then.values[3]) * (b.bottom - b.top) / then.values[3];
          }
          box = { key: b.key, left: b.left + dx, top: b.top + dy, right: b.right + dx + dw, bottom: b.bottom + dy + dh };
        }
      }
      out.push(box);
    }
    return out;
  }

  function unionOf(boxes) {
    if (!boxes.length) return null;
    return {
      left: Math.min(...boxes.map((b) => b.left)), top: Math.min(...boxes.map((b) => b.top)),
      right: Math.max(...boxes.map((b) => b.right)), bottom: Math.max(...boxes.map((b) => b.bottom)),
    };
  }

  function drawOverlay() {
    const overlay = $('overlay');
    overlay.replaceChildren();
    if (!last) return;
    const errorKeys = new Set(findings.filter((f) => f.severity === 'error' && f.key).map((f) => f.key));
    const changed = new Set(Object.keys(cur.layout || {}));
    const boxes = displayBoxes();
    // Larger boxes first, so a small box inside a large one (the map in its ring) stays clickable.
    const order = boxes.map((b, i) => i).sort((a, b) => area(boxes[b]) - area(boxes[a]));
    const seen = new Map();
    for (const i of order) {
      const b = boxes[i];
      const n = seen.get(b.key) || 0;
      seen.set(b.key, n + 1);
      const node = make('div', {
        class: 'box' + (b.key === selected ? ' selected' : '') + (changed.has(b.key) ? ' changed' : '') +
          (errorKeys.has(b.key) ? ' has-error' : ''),
        'data-key': b.key, 'data-index': String(n), title: b.key,
      }, make('span', { class: 'label', text: b.key.replace(/^HUD_/, '') }));
      place(node, b);
      overlay.append(node);
    }
    const entry = selected && layoutIndex.get(selected);
    if (entry && entry.sizes && entry.sizes[2] && entry.sizes[3]) {
      const u = unionOf(boxes.filter((b) => b.key === selected));
      if (u) {
        const h = make('div', { class: 'handle', 'data-handle': 'resize', title: 'Drag to resize (Shift: steps of 10)' });
        h.style.left = u.right * scale + 'px';
        h.style.top = u.bottom * scale + 'px';
        overlay.append(h);
      }
    }
    if (drag && drag.guides) {
      for (const g of drag.guides) {
        const node = make('div', { class: 'guide ' + g.dir });
        if (g.dir === 'v') node.style.left = g.at * scale + 'px';
        else node.style.top = g.at * scale + 'px';
        overlay.append(node);
      }
    }
    overlay.classList.toggle('hidden', !$('show-boxes').checked);
  }

  const area = (b) => Math.max(0, b.right - b.left) * Math.max(0, b.bottom - b.top);

  function place(node, b) {
    node.style.left = b.left * scale + 'px';
    node.style.top = b.top * scale + 'px';
    node.style.width = Math.max(2, (b.right - b.left) * scale) + 'px';
    node.style.height = Math.max(2, (b.bottom - b.top) * scale) + 'px';
  }

  // Edges and centres that a dragged box snaps to: other elements and the screen. A box
  // around the dragged one (the ring around its map) is left out: it moves along with it.
  function snapTargets(key, bbox) {
    const xs = [0, last.width / 2, last.width];
    const ys = [0, last.height / 2, last.height];
    for (const b of displayBoxes()) {
      if (b.key === key) continue;
      if (bbox && b.left <= bbox.left && b.top <= bbox.top && b.right >= bbox.right && b.bottom >= bbox.bottom) continue;
      xs.push(b.left, b.right, (b.left + b.right) / 2);
      ys.push(b.top, b.bottom, (b.top + b.bottom) / 2);
    }
    return { xs, ys };
  }

  // The shift (picture px) that brings one of the box's edges or centre onto a target.
  function snapAxis(lo, hi, targets, limit) {
    let best = null;
    for (const p of [lo, (lo + hi) / 2, hi]) {
      for (const t of targets) {
        const d = t - p;
        if (Math.abs(d) <= limit && (best === null || Math.abs(d) < Math.abs(best.d))) best = { d, at: t };
      }
    }
    return best;
  }

  function onPointerDown(e) {
    if (e.button !== 0 || !last) return;
    const handle = e.target.closest('.handle');
    const boxNode = e.target.closest('.box');
    if (!handle && !boxNode) return;
    e.preventDefault();
    const key = handle ? selected : boxNode.dataset.key;
    if (!layoutIndex.has(key)) return;
    const wasSelected = key === selected;
    if (!wasSelected) selectElement(key);
    const bbox = unionOf(displayBoxes().filter((b) => b.key === key));
    drag = {
      key, mode: handle ? 'resize' : 'move', x0: e.clientX, y0: e.clientY, moved: false,
      start: effLayout(key), startChanges: clone(cur), bbox, targets: snapTargets(key, bbox),
      guides: [], pointerId: e.pointerId, wasSelected: wasSelected && !handle, renderedAt: Date.now(), rendered: false,
    };
    $('overlay').setPointerCapture(e.pointerId);
  }

  function onPointerMove(e) {
    if (!drag || e.pointerId !== drag.pointerId) return;
    const sdx = e.clientX - drag.x0;
    const sdy = e.clientY - drag.y0;
    if (!drag.moved && Math.abs(sdx) + Math.abs(sdy) < DRAG_START_PX) return;
    drag.moved = true;
    dragTo(sdx / scale, sdy / scale, e.shiftKey, e.altKey);
  }

  // dx, dy: picture pixels from where the drag started.
  function dragTo(dx, dy, shift, alt) {
    const entry = layoutIndex.get(drag.key);
    const step = shift ? 10 : 1;
    const unit = last.unit;
    const values = drag.start.values.slice();
    drag.guides = [];
    if (drag.mode === 'move') {
      if (!alt && !shift && drag.bbox) {
        const limit = SNAP_SCREEN_PX / scale;
        const sx = snapAxis(drag.bbox.left + dx, drag.bbox.right + dx, drag.targets.xs, limit);
        const sy = snapAxis(drag.bbox.top + dy, drag.bbox.bottom + dy, drag.targets.ys, limit);
        if (sx) { dx += sx.d; drag.guides.push({ dir: 'v', at: sx.at }); }
        if (sy) { dy += sy.d; drag.guides.push({ dir: 'h', at: sy.at }); }
      }
      const [signX, signY] = signOf(entry, drag.start.anchor);
      const ux = Math.round(dx / unit / step) * step;
      const uy = Math.round(dy / unit / step) * step;
      values[0] = tidy(drag.start.values[0] + signX * ux);
      values[1] = tidy(drag.start.values[1] + signY * uy);
    } else if (drag.bbox && values.length === 4) {
      const bw = drag.bbox.right - drag.bbox.left;
      const bh = drag.bbox.bottom - drag.bbox.top;
      // Picture pixels per unit of w (h): how the box grew with it at the last render.
      const pxW = drag.start.values[2] > 0 && bw > 0 ? bw / drag.start.values[2] : unit;
      const pxH = drag.start.values[3] > 0 && bh > 0 ? bh / drag.start.values[3] : unit;
      values[2] = Math.max(1, tidy(drag.start.values[2] + Math.round(dx / pxW / step) * step));
      values[3] = Math.max(1, tidy(drag.start.values[3] + Math.round(dy / pxH / step) * step));
    }
    setChanges(withLayout(drag.key, { values, anchor: drag.start.anchor }), { commit: false, noRender: true });
    // A picture now and then while dragging shows what moves along (the ring with its map);
    // never more than one render at a time, the release renders the final place anyway.
    if (!rendering.inFlight && !rendering.timer && Date.now() - drag.renderedAt > DRAG_RENDER_MS) {
      drag.renderedAt = Date.now();
      drag.rendered = true;
      startRender();
    }
  }

  function onPointerUp(e) {
    if (!drag || e.pointerId !== drag.pointerId) return;
    const ended = drag;
    const moved = drag.moved;
    drag = null;
    try { $('overlay').releasePointerCapture(e.pointerId); } catch { /* already released */ }
    if (moved) {
      pushHistory(null);
      refreshAll();
      scheduleRender(0);
    } else {
      // A click on the selected box picks the next one beneath it: boxes overlap.
      if (ended.wasSelected) {
        const under = document.elementsFromPoint(e.clientX, e.clientY)
          .filter((n) => n.classList && n.classList.contains('box')).map((n) => n.dataset.key);
        const keys = [...new Set(under)];
        if (keys.length > 1) selectElement(keys[(keys.indexOf(ended.key) + 1) % keys.length]);
      }
      drawOverlay();
      checkSettled();
    }
  }

  function cancelDrag() {
    if (!drag) return;
    const back = drag.startChanges;
    const rendered = drag.rendered;
    drag = null;
    setChanges(back, { commit: false, noRender: !rendered });
    checkSettled();
  }

  function nudge(dxScreen, dyScreen) {
    if (!selected) return;
    const entry = layoutIndex.get(selected);
    const now = effLayout(selected);
    const [sx, sy] = signOf(entry, now.anchor);
    now.values[0] = tidy(now.values[0] + sx * dxScreen);
    now.values[1] = tidy(now.values[1] + sy * dyScreen);
    setChanges(withLayout(selected, now));
  }

  // ------------------------------------------------------------------ the side panel

  function selectTab(name) {
    tab = name;
    for (const b of document.querySelectorAll('#tabs [data-tab]')) b.setAttribute('aria-selected', String(b.dataset.tab === name));
    for (const p of document.querySelectorAll('.panel')) p.hidden = p.dataset.panel !== name;
  }

  function selectElement(key) {
    if (key && !layoutIndex.has(key)) return;
    selected = key || null;
    selectTab('layout');
    buildElementPanel();
    drawOverlay();
  }

  function buildElementSelect() {
    const sel = $('element-select');
    sel.replaceChildren(make('option', { value: '', text: '— pick an element —' }));
    for (const e of state.layout) sel.append(make('option', { value: e.key, text: e.key }));
    sel.value = selected || '';
  }

  function buildElementPanel() {
    const entry = selected && layoutIndex.get(selected);
    $('element').hidden = !entry;
    $('element-none').hidden = !!entry;
    $('element-select').value = selected || '';
    if (!entry) return;
    $('element-key').textContent = entry.key;
    const names = entry.values.length === 2 ? ['x', 'y'] : ['x', 'y', 'w', 'h'];
    const box = $('element-values');
    box.replaceChildren();
    names.forEach((name, i) => {
      const isScale = entry.values.length === 4 && i >= 2 && !(entry.sizes && entry.sizes[i]);
      const input = make('input', {
        type: 'number', step: isScale ? '0.05' : '1', 'data-field': String(i),
        'aria-label': entry.key + ' ' + name,
        oninput: (ev) => {
          const v = ev.target.valueAsNumber;
          if (!Number.isFinite(v)) return;
          const now = effLayout(entry.key);
          now.values[i] = v;
          setChanges(withLayout(entry.key, now), { tag: 'field:' + entry.key + ':' + i });
        },
      });
      box.append(make('label', {}, name + (isScale ? ' (scale)' : ''), input));
    });
    const picker = $('anchor-picker');
    picker.replaceChildren();
    for (const [anchor, glyph] of ANCHOR_GRID) {
      picker.append(make('button', {
        type: 'button', 'data-anchor': anchor, title: anchor, text: glyph,
        disabled: !anchorAllowed(entry, anchor),
        onclick: () => setAnchor(anchor),
      }));
    }
    const docs = $('element-docs');
    docs.replaceChildren(...(entry.docs || []).map((d) => make('li', { text: d })));
    const sh = entry.shipped || { values: [], anchor: '' };
    $('element-shipped').textContent = 'Shipped: ' + sh.values.join(' ') + (sh.anchor ? ' ' + sh.anchor : '');
    updateElementPanel();
  }

  // Refreshes the numbers without rebuilding the inputs, so typing keeps its focus.
  function updateElementPanel() {
    const entry = selected && layoutIndex.get(selected);
    if (!entry) return;
    const now = effLayout(selected);
    for (const input of document.querySelectorAll('#element-values input')) {
      const i = Number(input.dataset.field);
      if (document.activeElement !== input || input.valueAsNumber !== now.values[i]) {
        if (document.activeElement !== input || Number.isFinite(input.valueAsNumber)) input.value = String(now.values[i]);
      }
      input.classList.toggle('changed', now.values[i] !== entry.values[i]);
    }
    for (const b of document.querySelectorAll('#element [data-anchor]')) {
      b.setAttribute('aria-pressed', String(b.dataset.anchor === now.anchor));
    }
    const changed = !!(cur.layout && cur.layout[selected]);
    $('element-changed').hidden = !changed;
    $('element-discard').disabled = !changed;
    const sh = entry.shipped || {};
    $('element-revert').disabled = !!sh.values && sameNums(sh.values, now.values) && (sh.anchor || '') === now.anchor;
  }

  function setAnchor(anchor) {
    if (!selected) return;
    const now = effLayout(selected);
    now.anchor = anchor;
    setChanges(withLayout(selected, now));
  }

  function revertElement() {
    const entry = selected && layoutIndex.get(selected);
    if (!entry || !entry.shipped) return;
    setChanges(withLayout(selected, { values: entry.shipped.values, anchor: entry.shipped.anchor || '' }));
  }

  function discardElement() {
    if (!selected || !cur.layout || !cur.layout[selected]) return;
    const next = clone(cur);
    delete next.layout[selected];
    setChanges(next);
  }

  const toHex = (rgb) => '#' + rgb.slice(0, 3).map((v) => Math.max(0, Math.min(255, Math.round(v))).toString(16).padStart(2, '0')).join('');
  const fromHex = (hex) => [1, 3, 5].map((i) => parseInt(hex.slice(i, i + 2), 16));

  function buildColours() {
    const list = $('colour-list');
    list.replaceChildren();
    for (const c of state.colours) {
      const li = make('li', { 'data-colour': c.key });
      const swatch = make('span', { class: 'swatch' }, make('span'));
      li.append(
        make('div', { class: 'row-head', onclick: () => selectColour(selectedColour === c.key ? null : c.key) },
          swatch, make('span', { class: 'row-key', text: c.key }), make('span', { class: 'badge', hidden: true, text: 'changed' })),
        make('p', { class: 'row-doc', text: (c.docs || []).join(' ') }),
      );
      list.append(li);
    }
    updateColours();
  }

  function selectColour(key) {
    selectedColour = key;
    for (const li of document.querySelectorAll('#colour-list > li')) {
      const on = li.dataset.colour === key;
      li.classList.toggle('selected', on);
      const old = li.querySelector('.colour-editor');
      if (old && !on) old.remove();
      if (on && !old) li.append(colourEditor(key));
    }
    updateColours();
  }

  function colourEditor(key) {
    const setPart = (fn, tag) => {
      const v = effColour(key);
      fn(v);
      const next = clone(cur);
      next.colours = next.colours || {};
      next.colours[key] = v;
      setChanges(next, { tag: 'colour:' + key + ':' + tag });
    };
    const rgb = make('input', {
      type: 'color', 'data-field': 'rgb', 'aria-label': key + ' colour',
      oninput: (e) => setPart((v) => { const [r, g, b] = fromHex(e.target.value); v[0] = r; v[1] = g; v[2] = b; }, 'rgb'),
    });
    const channel = (i, name) => make('input', {
      type: 'number', min: '0', max: '255', step: '1', 'data-field': String(i), 'aria-label': key + ' ' + name, title: name,
      oninput: (e) => {
        const n = e.target.valueAsNumber;
        if (Number.isInteger(n) && n >= 0 && n <= 255) setPart((v) => { v[i] = n; }, String(i));
      },
    });
    const shipped = colourIndex.get(key).shipped;
    return make('div', { class: 'colour-editor' },
      rgb, channel(0, 'red'), channel(1, 'green'), channel(2, 'blue'),
      make('label', { class: 'hint' }, 'alpha ', channel(3, 'alpha')),
      make('button', {
        type: 'button', class: 'colour-revert', text: 'Revert to shipped', title: shipped ? 'Shipped: ' + shipped.join(' ') : '',
        onclick: () => setPart((v) => { if (shipped) shipped.forEach((s, i) => { v[i] = s; }); }, 'revert'),
      }));
  }

  function updateColours() {
    for (const li of document.querySelectorAll('#colour-list > li')) {
      const key = li.dataset.colour;
      const v = effColour(key);
      li.querySelector('.swatch > span').style.background = `rgba(${v[0]},${v[1]},${v[2]},${v[3] / 255})`;
      li.querySelector('.badge').hidden = !(cur.colours && cur.colours[key]);
      const ed = li.querySelector('.colour-editor');
      if (!ed) continue;
      const rgb = ed.querySelector('[data-field="rgb"]');
      if (document.activeElement !== rgb) rgb.value = toHex(v);
      for (let i = 0; i < 4; i++) {
        const input = ed.querySelector(`[data-field="${i}"]`);
        if (document.activeElement !== input) input.value = String(v[i]);
      }
      const shipped = colourIndex.get(key).shipped;
      ed.querySelector('.colour-revert').disabled = !shipped || sameNums(shipped, v);
    }
  }

  function buildSettings() {
    const list = $('setting-list');
    list.replaceChildren();
    for (const s of state.settings) {
      let control;
      if (s.kind === 'switch') {
        control = make('input', {
          type: 'checkbox', 'data-field': 'value', 'aria-label': s.key,
          onchange: (e) => setSetting(s.key, e.target.checked ? '1' : '0'),
        });
      } else {
        control = make('input', {
          type: 'number', step: '1', 'data-field': 'value', 'aria-label': s.key,
          oninput: (e) => { if (e.target.value.trim() !== '') setSetting(s.key, e.target.value.trim(), 'setting:' + s.key); },
        });
      }
      const li = make('li', { 'data-setting': s.key },
        make('div', { class: 'row-head setting-control' },
          make('label', { class: 'row-key' }, control, ' ', s.key),
          make('span', { class: 'setting-raw', hidden: true }),
          make('span', { class: 'badge', hidden: true, text: 'changed' }),
          make('button', { type: 'button', class: 'setting-revert', text: 'Revert', title: 'Shipped: ' + s.shipped, onclick: () => setSetting(s.key, s.shipped) })),
        make('p', { class: 'row-doc', text: (s.docs || []).join(' ') }));
      list.append(li);
    }
    updateSettings();
  }

  function setSetting(key, value, tag) {
    const next = clone(cur);
    next.settings = next.settings || {};
    next.settings[key] = String(value);
    setChanges(next, { tag });
  }

  function updateSettings() {
    for (const li of document.querySelectorAll('#setting-list > li')) {
      const key = li.dataset.setting;
      const s = settingIndex.get(key);
      const v = effSetting(key);
      const control = li.querySelector('[data-field="value"]');
      const raw = li.querySelector('.setting-raw');
      if (s.kind === 'switch') {
        // A value that is neither 0 nor 1 (a typo on disk) shows as it is.
        const odd = v !== '0' && v !== '1';
        control.checked = v === '1';
        control.indeterminate = odd;
        raw.hidden = !odd;
        raw.textContent = odd ? '"' + v + '"' : '';
      } else {
        const numeric = v.trim() !== '' && Number.isFinite(Number(v));
        if (document.activeElement !== control) control.value = numeric ? v : '';
        raw.hidden = numeric;
        raw.textContent = numeric ? '' : '"' + v + '"';
      }
      li.querySelector('.badge').hidden = !(cur.settings && key in cur.settings);
      li.querySelector('.setting-revert').disabled = v === s.shipped;
    }
  }

  // ------------------------------------------------------------------ findings

  function findingItem(f) {
    const file = (f.file || '').split('/').pop();
    const where = file + (f.line ? ':' + f.line : '') + (f.key ? ' · ' + f.key : '');
    return make('li', {
      class: 'finding', 'data-severity': f.severity || 'note', 'data-key': f.key || '', title: 'Click to show',
      onclick: () => showFinding(f),
    }, make('div', {}, make('div', { class: 'where', text: where }), make('div', { text: f.message || '' })));
  }

  function renderFindings() {
    const list = $('findings');
    const order = { error: 0, warning: 1, note: 2 };
    const sorted = findings.slice().sort((a, b) => (order[a.severity] ?? 3) - (order[b.severity] ?? 3));
    list.replaceChildren(...sorted.map(findingItem));
    const errors = findings.filter((f) => f.severity === 'error').length;
    $('findings-count').textContent = findings.length ? `${errors} error${errors === 1 ? '' : 's'}, ${findings.length - errors} other` : 'none';
  }

  function showFinding(f) {
    const detail = $('finding-detail');
    detail.hidden = false;
    detail.textContent = (f.file || '(no file)') + (f.line ? ', line ' + f.line : '') + ': ' + (f.message || '');
    if (!f.key) return;
    if (layoutIndex.has(f.key)) { selectElement(f.key); return; }
    if (colourIndex.has(f.key)) {
      selectTab('colours');
      selectColour(f.key);
      flash(document.querySelector(`#colour-list > li[data-colour="${f.key}"]`));
      return;
    }
    if (settingIndex.has(f.key)) {
      selectTab('settings');
      flash(document.querySelector(`#setting-list > li[data-setting="${f.key}"]`));
    }
  }

  function flash(node) {
    if (!node) return;
    node.scrollIntoView({ block: 'nearest' });
    node.classList.remove('flash');
    void node.offsetWidth; // restarts the animation
    node.classList.add('flash');
  }

  // ------------------------------------------------------------------ saving

  function saveBlockedBy() {
    if (isEmpty(cur)) return 'Nothing changed';
    // Errors elsewhere (a missing texture, say) are the modder's to fix outside the page
    // and must not hold back a layout; errors in the files a save writes do.
    const written = Object.values(state.files).map((f) => f.name);
    if (findings.some((f) => f.severity === 'error' && written.includes(f.file))) return 'Fix the errors among the findings first';
    return '';
  }

  function refreshSaveButton() {
    const why = saveBlockedBy();
    const save = $('save');
    save.disabled = !!why || saving;
    save.title = why || 'Write the changed files';
    $('undo').disabled = hIndex === 0;
    $('redo').disabled = hIndex >= history.length - 1;
  }

  let saving = false;
  async function save() {
    if (saveBlockedBy() || saving) return;
    saving = true;
    refreshSaveButton();
    const versions = {};
    for (const [k, f] of Object.entries(state.files)) versions[k] = f.version;
    const r = await api('POST', '/api/save', { changes: clone(cur), style: view.style, versions });
    saving = false;
    if (r.ok && r.data.state) {
      const saved = r.data.saved || [];
      adoptState(r.data.state);
      cur = {};
      resetHistory();
      refreshAll();
      scheduleRender(0);
      showMessage('ok', 'Saved ' + (saved.length ? saved.join(', ') : 'nothing (no file differed)') + '.');
    } else if (r.status === 409) {
      showMessage('error', (r.data.error || 'A file changed on disk.') + ' Reload discards the changes made here and reads the files again.', [], true);
    } else if (r.status === 422) {
      const list = Array.isArray(r.data.findings) ? r.data.findings : [];
      showMessage('error', r.data.error || 'These values cannot be saved:', list);
    } else {
      showMessage('error', 'Save failed: ' + (r.data.error || r.status));
    }
    refreshSaveButton();
  }

  let messageSource = '';
  function showMessage(kind, text, list = [], offerReload = false, source = 'save') {
    messageSource = source;
    const box = $('message');
    box.hidden = false;
    box.className = kind;
    $('message-text').textContent = text;
    $('message-findings').replaceChildren(...list.map(findingItem));
    $('reload').hidden = !offerReload;
    clearTimeout(showMessage.timer);
    if (kind === 'ok') showMessage.timer = setTimeout(hideMessage, 5000);
  }

  function hideMessage() { $('message').hidden = true; messageSource = ''; }

  async function reload(ask = true) {
    if (ask && !isEmpty(cur) && !confirm('Discard the changes made here and read the files from disk again?')) return;
    const r = await api('GET', '/api/state?style=' + encodeURIComponent(view.style));
    if (!r.ok) { showMessage('error', 'Reload failed: ' + (r.data.error || r.status)); return; }
    adoptState(r.data);
    cur = {};
    resetHistory();
    hideMessage();
    refreshAll();
    scheduleRender(0);
  }

  // The files on disk may change behind the page (an editor, a second studio): the renders
  // already read them, so the panels follow; with unsaved changes the modder decides.
  let stateGen = 0;
  let diskBusy = false;
  async function checkDisk() {
    if (!state || diskBusy || saving) return;
    diskBusy = true;
    const gen = stateGen;
    const r = await api('GET', '/api/state?style=' + encodeURIComponent(view.style));
    diskBusy = false;
    if (!r.ok || gen !== stateGen || !r.data.files) return;
    const changed = Object.keys(state.files).filter((k) => !r.data.files[k] || r.data.files[k].version !== state.files[k].version)
      .map((k) => state.files[k].name);
    if (!changed.length) {
      if (messageSource === 'disk') hideMessage();
      return;
    }
    if (isEmpty(cur)) {
      adoptState(r.data);
      resetHistory();
      refreshAll();
      scheduleRender(); // the picture may predate the change too (noticed on focus)
      if (messageSource === 'disk') hideMessage();
      return;
    }
    showMessage('error', changed.join(', ') + ' changed on disk since the page read it. The preview shows the files as they are now; Reload discards the changes made here and reads them again.',
      [], true, 'disk');
  }

  // ------------------------------------------------------------------ state and toolbar

  function adoptState(s) {
    state = s;
    stateGen++;
    layoutIndex = new Map(s.layout.map((e) => [e.key, e]));
    colourIndex = new Map(s.colours.map((e) => [e.key, e]));
    settingIndex = new Map(s.settings.map((e) => [e.key, e]));
    if (selected && !layoutIndex.has(selected)) selected = null;
    if (selectedColour && !colourIndex.has(selectedColour)) selectedColour = null;
    buildToolbar();
    buildElementSelect();
    buildElementPanel();
    buildColours();
    if (selectedColour) selectColour(selectedColour);
    buildSettings();
    $('folder').textContent = 'Folder: ' + s.folder;
    $('folder').title = Object.values(s.files).map((f) => f.name).join('\n');
  }

  function buildToolbar() {
    const fill = (sel, items, value) => {
      sel.replaceChildren(...items.map(([v, text]) => make('option', { value: v, text })));
      sel.value = value;
    };
    fill($('scenario'), state.scenarios.map((s) => [s, s]), view.scenario);
    if (!state.scenarios.includes(view.scenario) && state.scenarios.length) view.scenario = $('scenario').value = state.scenarios[0];
    const sizes = state.sizes.map(([w, h]) => [w + 'x' + h, w + ' × ' + h]);
    sizes.push(['custom', 'Custom…']);
    const key = view.width + 'x' + view.height;
    const preset = state.sizes.some(([w, h]) => w + 'x' + h === key);
    fill($('size'), sizes, preset && $('custom-size').hidden ? key : 'custom');
    $('custom-size').hidden = $('size').value !== 'custom';
    $('custom-width').value = view.width;
    $('custom-height').value = view.height;
    fill($('style'), state.styles.map((s) => [s, s]), view.style);
  }

  function refreshAll() {
    updateElementPanel();
    updateColours();
    updateSettings();
    drawOverlay();
    refreshSaveButton();
    const opts = $('element-select').options;
    for (const o of opts) if (o.value) o.textContent = o.value + (cur.layout && cur.layout[o.value] ? '  •' : '');
  }

  async function changeStyle(style) {
    if (cur.colours && !confirm('The colour changes made here belong to the ' + view.style + ' colour file. Discard them and switch style?')) {
      $('style').value = view.style;
      return;
    }
    const r = await api('GET', '/api/state?style=' + encodeURIComponent(style));
    if (!r.ok) { showMessage('error', 'Could not read the ' + style + ' style: ' + (r.data.error || r.status)); $('style').value = view.style; return; }
    view.style = style;
    // Colour changes name the old style's file: none of them may come back through undo.
    for (const h of history) { const ch = JSON.parse(h.json); delete ch.colours; h.json = canon(ch); }
    delete cur.colours;
    adoptState(r.data);
    cur = normalize(cur);
    refreshAll();
    scheduleRender(0);
  }

  function onSizeChange() {
    const v = $('size').value;
    $('custom-size').hidden = v !== 'custom';
    if (v === 'custom') {
      $('custom-width').value = view.width;
      $('custom-height').value = view.height;
      return;
    }
    const [w, h] = v.split('x').map(Number);
    view.width = w;
    view.height = h;
    scheduleRender(0);
  }

  function onCustomSize() {
    const w = $('custom-width').valueAsNumber;
    const h = $('custom-height').valueAsNumber;
    if (!(Number.isInteger(w) && Number.isInteger(h) && w >= 1 && h >= 1 && w <= 16384 && h <= 16384)) return;
    view.width = w;
    view.height = h;
    scheduleRender(400);
  }

  function isTyping(target) {
    if (!target || !target.tagName) return false;
    if (target.tagName === 'TEXTAREA' || target.tagName === 'SELECT') return true;
    return target.tagName === 'INPUT' && !['checkbox', 'radio', 'button', 'color'].includes(target.type);
  }

  function onKeyDown(e) {
    if (e.key === 'Escape' && drag) { cancelDrag(); return; }
    const mod = e.ctrlKey || e.metaKey;
    const k = e.key.toLowerCase();
    if (mod && !isTyping(e.target)) {
      if (k === 'z' && !e.shiftKey) { e.preventDefault(); undo(); return; }
      if (k === 'y' || (k === 'z' && e.shiftKey)) { e.preventDefault(); redo(); return; }
    }
    if (mod && k === 's') { e.preventDefault(); save(); return; }
    if (mod || e.altKey || isTyping(e.target) || drag) return;
    const step = e.shiftKey ? 10 : 1;
    const moves = { ArrowLeft: [-step, 0], ArrowRight: [step, 0], ArrowUp: [0, -step], ArrowDown: [0, step] };
    if (moves[e.key] && selected) {
      e.preventDefault();
      nudge(...moves[e.key]);
    }
  }

  function wire() {
    $('overlay').addEventListener('pointerdown', onPointerDown);
    $('overlay').addEventListener('pointermove', onPointerMove);
    $('overlay').addEventListener('pointerup', onPointerUp);
    $('overlay').addEventListener('pointercancel', (e) => { if (drag && e.pointerId === drag.pointerId) cancelDrag(); });
    $('scenario').addEventListener('change', (e) => { view.scenario = e.target.value; scheduleRender(0); });
    $('size').addEventListener('change', onSizeChange);
    $('custom-width').addEventListener('input', onCustomSize);
    $('custom-height').addEventListener('input', onCustomSize);
    $('style').addEventListener('change', (e) => changeStyle(e.target.value));
    $('show-boxes').addEventListener('change', drawOverlay);
    $('undo').addEventListener('click', undo);
    $('redo').addEventListener('click', redo);
    $('save').addEventListener('click', save);
    $('reload').addEventListener('click', () => reload(true));
    $('message-close').addEventListener('click', hideMessage);
    // Off the list afterwards, so that the arrow keys nudge the element, not the list.
    $('element-select').addEventListener('change', (e) => { selectElement(e.target.value); e.target.blur(); });
    $('element-revert').addEventListener('click', revertElement);
    $('element-discard').addEventListener('click', discardElement);
    document.querySelector('.anchor-none').addEventListener('click', () => setAnchor(''));
    for (const b of document.querySelectorAll('#tabs [data-tab]')) b.addEventListener('click', () => selectTab(b.dataset.tab));
    document.addEventListener('keydown', onKeyDown);
    window.addEventListener('resize', fit);
    window.addEventListener('focus', checkDisk);
    if (window.ResizeObserver) new ResizeObserver(fit).observe($('stage'));
    window.addEventListener('beforeunload', (e) => { if (!isEmpty(cur)) { e.preventDefault(); e.returnValue = ''; } });
  }

  async function start() {
    wire();
    const r = await api('GET', '/api/state?style=' + view.style);
    if (!r.ok) {
      $('stage-empty').textContent = 'Could not read the folder: ' + (r.data.error || r.status);
      return;
    }
    if (r.data.styles && r.data.styles.length && !r.data.styles.includes(view.style)) view.style = r.data.styles[0];
    adoptState(r.data);
    resetHistory();
    refreshAll();
    scheduleRender(0);
  }

  start();
})();

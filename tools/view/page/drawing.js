// The drawing on the page: its layers, pan and zoom, the pointer's drawing coordinates, and
// what the mouse gives the command at each step (a window drag, a click, motion).
//
// Panning and zooming move a composited layer (a CSS transform on #plane): the SVG is not
// redrawn while the gesture lasts, and nothing is asked of the server. When the gesture ends
// the transform is folded into the SVG's own view transform and the layer is reset, so the
// drawing is painted once more, sharp, at its new scale.
'use strict';
window.TF = window.TF || {};

// A list panel over the drawing, by its name: its elements NAMEPanel, NAMERows and NAMETitle.
// It keeps its pointer and wheel (the drawing would capture the pointer and take the click),
// and its fold button (NAMEFold) leaves the title alone over the drawing, a click there opening
// it again.
TF.panel = (name) => {
  const parts = {
    panel: document.getElementById(name + 'Panel'),
    rows: document.getElementById(name + 'Rows'),
    title: document.getElementById(name + 'Title'),
  };
  for (const type of ['pointerdown', 'pointermove', 'pointerup', 'wheel', 'dblclick']) {
    parts.panel.addEventListener(type, (event) => event.stopPropagation());
  }
  const fold = document.getElementById(name + 'Fold');
  fold.addEventListener('click', () => {
    const folded = parts.panel.classList.toggle('folded');
    fold.textContent = folded ? '+' : '–';
    fold.title = TF.t(folded ? 'Show the list' : 'Fold the list away');
  });
  return parts;
};

TF.drawing = (() => {
  const DRAG_PIXELS = 4;
  const PICK_PIXELS = 6;  // how near a click must be to a figure to pick its part
  let canvas, plane, svg, viewGroup, layers, band, echo, cursorText, coordsOut;
  let mapping = { scale: 1, left: 0, top: 0, minX: 0, maxY: 0, width: 1600, height: 1000 };
  // The committed view: canvas = k * picture + t. The live gesture on top: canvas = ls * c + l.
  const view = { k: 1, tx: 0, ty: 0 };
  const live = { s: 1, x: 0, y: 0 };
  let margin = { x: 0, y: 0 };
  let step = { active: false, takes: {}, echo: null, cursor: '' };
  let hand = false;
  let pointer = null;  // the last pointer position on the canvas
  let gesture = null;  // {kind: 'pan'|'band'|'click', ...}
  let commitTimer = 0;
  let fitted = false;
  let rings = [];  // boxes of twins, ringed where they are too small to see
  const handlers = { range: null, point: null, move: null, pick: null, hover: null };

  // Picture pixels and drawing units.
  const toDrawing = (px, py) => ({ x: mapping.minX + (px - mapping.left) / mapping.scale,
                                   y: mapping.maxY - (py - mapping.top) / mapping.scale });
  const toPicture = (x, y) => ({ px: mapping.left + (x - mapping.minX) * mapping.scale,
                                 py: mapping.top + (mapping.maxY - y) * mapping.scale });
  // Canvas pixels (relative to its top left corner) and picture pixels, through both transforms.
  function canvasToPicture(cx, cy) {
    const sx = (cx - live.x) / live.s, sy = (cy - live.y) / live.s;
    return { px: (sx - view.tx) / view.k, py: (sy - view.ty) / view.k };
  }
  function pictureToCanvas(px, py) {
    return { cx: live.s * (view.k * px + view.tx) + live.x, cy: live.s * (view.k * py + view.ty) + live.y };
  }
  function canvasPoint(event) {
    const r = canvas.getBoundingClientRect();
    return { cx: event.clientX - r.left, cy: event.clientY - r.top };
  }
  function drawingAt(cx, cy) {
    const p = canvasToPicture(cx, cy);
    return toDrawing(p.px, p.py);
  }

  function applyView() {
    viewGroup.setAttribute('transform',
      `translate(${margin.x + view.tx} ${margin.y + view.ty}) scale(${view.k})`);
    plane.style.transform = `translate(${live.x}px, ${live.y}px) scale(${live.s})`;
    drawRings();
    drawMarks();
  }
  // A ring of a fixed size on the screen around each twin smaller than a few pixels at the
  // committed zoom, so that it is seen where its own lines are a dot.
  function drawRings() {
    if (!layers) return;
    const parts = [];
    for (const b of rings) {
      const a = toPicture(b.minX, b.maxY), c = toPicture(b.maxX, b.minY);
      if (Math.max(c.px - a.px, c.py - a.py) * view.k >= 14) continue;
      parts.push(`<circle cx="${(a.px + c.px) / 2}" cy="${(a.py + c.py) / 2}" r="${11 / view.k}"/>`);
    }
    parseInto(layers.rings, parts.join(''));
  }
  function sizeToCanvas() {
    const w = canvas.clientWidth, h = canvas.clientHeight;
    // The SVG reaches half a window beyond each edge, so a pan shows drawing, not blank,
    // before it is committed.
    margin = { x: Math.round(w / 2), y: Math.round(h / 2) };
    svg.setAttribute('width', w + 2 * margin.x);
    svg.setAttribute('height', h + 2 * margin.y);
    svg.style.left = -margin.x + 'px';
    svg.style.top = -margin.y + 'px';
    applyView();
  }
  // Folds the live gesture into the view: one repaint at the new scale.
  function commit() {
    clearTimeout(commitTimer);
    commitTimer = 0;
    if (live.s === 1 && live.x === 0 && live.y === 0) return;
    view.tx = live.s * view.tx + live.x;
    view.ty = live.s * view.ty + live.y;
    view.k *= live.s;
    live.s = 1; live.x = 0; live.y = 0;
    applyView();
  }
  function commitSoon() {
    clearTimeout(commitTimer);
    commitTimer = setTimeout(commit, 180);
  }
  function panBy(dx, dy) {
    live.x += dx;
    live.y += dy;
    plane.style.transform = `translate(${live.x}px, ${live.y}px) scale(${live.s})`;
    // Beyond the SVG's margin the layer would show blank: commit, and go on from there.
    if (Math.abs(live.x) > margin.x * 0.9 || Math.abs(live.y) > margin.y * 0.9) commit();
    drawMarks();
  }
  function zoomAt(cx, cy, factor) {
    const s = Math.min(Math.max(live.s * factor, 1e-6), 1e6);
    const f = s / live.s;
    live.x = cx - f * (cx - live.x);
    live.y = cy - f * (cy - live.y);
    live.s = s;
    plane.style.transform = `translate(${live.x}px, ${live.y}px) scale(${live.s})`;
    drawMarks();
    commitSoon();
  }
  // Shows the extent (drawing units) in the window, with a little room around it.
  function fit(extent) {
    commit();
    const w = canvas.clientWidth, h = canvas.clientHeight;
    let box = extent;
    if (!box) box = { minX: toDrawing(0, 0).x, maxX: toDrawing(mapping.width, 0).x,
                      minY: toDrawing(0, mapping.height).y, maxY: toDrawing(0, 0).y };
    const a = toPicture(box.minX, box.maxY), b = toPicture(box.maxX, box.minY);
    const bw = Math.max(b.px - a.px, 1e-9), bh = Math.max(b.py - a.py, 1e-9);
    view.k = Math.min((w * 0.92) / bw, (h * 0.92) / bh);
    if (!isFinite(view.k) || view.k <= 0) view.k = 1;
    view.tx = (w - view.k * (a.px + b.px)) / 2;
    view.ty = (h - view.k * (a.py + b.py)) / 2;
    applyView();
    fitted = true;
  }

  function takesRange() { return step.active && step.takes.window; }
  // The part prompt: a window, but not the search range's (the first step).
  function takesPart() { return takesRange() && step.takes.step === 'window'; }
  // Drawing units per canvas pixel, at the current zoom.
  function reach() { return PICK_PIXELS / (mapping.scale * view.k * live.s); }
  function takesPoint() { return step.active && step.takes.point; }
  function panning(event) {
    return event.button === 1 || hand || (event.button === 0 && !takesRange() && !takesPoint());
  }

  function showBand(a, b) {
    band.style.display = 'block';
    band.style.left = Math.min(a.cx, b.cx) + 'px';
    band.style.top = Math.min(a.cy, b.cy) + 'px';
    band.style.width = Math.abs(a.cx - b.cx) + 'px';
    band.style.height = Math.abs(a.cy - b.cy) + 'px';
  }
  function drawMarks() {
    if (step.echo && pointer && takesPoint()) {
      const p = toPicture(step.echo.x, step.echo.y);
      const c = pictureToCanvas(p.px, p.py);
      echo.setAttribute('x1', c.cx); echo.setAttribute('y1', c.cy);
      echo.setAttribute('x2', pointer.cx); echo.setAttribute('y2', pointer.cy);
      echo.style.visibility = 'visible';
    } else {
      echo.style.visibility = 'hidden';
    }
    if (pointer && step.active && step.cursor) {
      cursorText.style.display = 'block';
      cursorText.style.left = pointer.cx + 18 + 'px';
      cursorText.style.top = pointer.cy + 18 + 'px';
    } else {
      cursorText.style.display = 'none';
    }
  }
  function showCoords() {
    if (!pointer) { coordsOut.textContent = 'x –  y –'; return; }
    const d = drawingAt(pointer.cx, pointer.cy);
    coordsOut.textContent = `x ${TF.number(d.x)}  y ${TF.number(d.y)}`;
  }
  function updateCursor() {
    canvas.classList.toggle('hand', hand);
    canvas.classList.toggle('pick', !hand && (takesRange() || takesPoint()));
  }

  function onDown(event) {
    canvas.focus({ preventScroll: true });
    if (event.button !== 0 && event.button !== 1) return;
    event.preventDefault();
    const at = canvasPoint(event);
    canvas.setPointerCapture(event.pointerId);
    if (panning(event)) {
      gesture = { kind: 'pan', last: at };
      canvas.classList.add('panning');
    } else if (takesRange()) {
      gesture = { kind: 'band', start: at };
    } else {
      gesture = { kind: 'click', start: at };
    }
  }
  function onMove(event) {
    const at = canvasPoint(event);
    pointer = at;
    showCoords();
    if (gesture && gesture.kind === 'pan') {
      panBy(at.cx - gesture.last.cx, at.cy - gesture.last.cy);
      gesture.last = at;
      return;
    }
    if (gesture && gesture.kind === 'band') showBand(gesture.start, at);
    drawMarks();
    if (takesPoint() && handlers.move && !gesture) {
      const d = drawingAt(at.cx, at.cy);
      handlers.move(d.x, d.y);
    }
    // At the part prompt the part a click would take is highlighted.
    if (takesPart() && handlers.hover && !gesture && !hand) {
      const d = drawingAt(at.cx, at.cy);
      handlers.hover(d.x, d.y, reach());
    }
  }
  function onUp(event) {
    if (!gesture) return;
    const at = canvasPoint(event);
    const g = gesture;
    gesture = null;
    canvas.classList.remove('panning');
    band.style.display = 'none';
    if (g.kind === 'pan') { commit(); return; }
    const moved = Math.hypot(at.cx - g.start.cx, at.cy - g.start.cy) >= DRAG_PIXELS;
    if (g.kind === 'band' && moved && handlers.range) {
      const a = drawingAt(g.start.cx, g.start.cy), b = drawingAt(at.cx, at.cy);
      handlers.range(Math.min(a.x, b.x), Math.min(a.y, b.y), Math.max(a.x, b.x), Math.max(a.y, b.y));
    } else if (g.kind === 'band' && !moved && handlers.pick) {
      // A single click: the part under it at the part prompt; at the search range's prompt
      // the command says that the range is a drag.
      const d = drawingAt(at.cx, at.cy);
      handlers.pick(d.x, d.y, reach());
    } else if (g.kind === 'click' && takesPoint() && handlers.point && !moved) {
      const d = drawingAt(at.cx, at.cy);
      handlers.point(d.x, d.y);
    }
  }
  function onWheel(event) {
    event.preventDefault();
    const at = canvasPoint(event);
    const notches = event.deltaMode === 1 ? event.deltaY / 3 : event.deltaY / 100;
    zoomAt(at.cx, at.cy, Math.pow(1.2, -notches));
  }

  function parseInto(group, elements) {
    // The server's SVG elements, parsed as SVG (never as HTML) and moved into the group.
    const doc = new DOMParser().parseFromString(
      `<svg xmlns="http://www.w3.org/2000/svg">${elements}</svg>`, 'image/svg+xml');
    const fragment = document.createDocumentFragment();
    for (const node of Array.from(doc.documentElement.childNodes)) fragment.appendChild(document.importNode(node, true));
    group.replaceChildren(fragment);
  }

  return {
    init(ids) {
      canvas = document.getElementById('canvas');
      plane = document.getElementById('plane');
      svg = document.getElementById('drawing');
      viewGroup = document.getElementById('view');
      layers = { lasting: document.getElementById('lasting'), blink: document.getElementById('blink'),
                 surveyed: document.getElementById('surveyed'), hover: document.getElementById('hover'),
                 rings: document.getElementById('rings'), temp: document.getElementById('temp') };
      band = document.getElementById('band');
      echo = document.getElementById('echo');
      cursorText = document.getElementById('cursorText');
      coordsOut = document.getElementById(ids.coords);
      canvas.addEventListener('pointerdown', onDown);
      canvas.addEventListener('pointermove', onMove);
      canvas.addEventListener('pointerup', onUp);
      canvas.addEventListener('pointercancel', onUp);
      canvas.addEventListener('pointerleave', () => {
        pointer = null; showCoords(); drawMarks();
        if (handlers.hover) handlers.hover(null);
      });
      canvas.addEventListener('wheel', onWheel, { passive: false });
      canvas.addEventListener('auxclick', (e) => e.preventDefault());
      canvas.addEventListener('contextmenu', (e) => e.preventDefault());
      new ResizeObserver(() => sizeToCanvas()).observe(canvas);
      sizeToCanvas();
    },
    on(name, fn) { handlers[name] = fn; },
    setMapping(m) { mapping = m; },
    setStep(s) { step = s; cursorText.textContent = s.cursor || ''; updateCursor(); drawMarks(); },
    setHand(on) { hand = on; updateCursor(); },
    hand() { return hand; },
    // The lasting drawing: a whole SVG document; its elements go into the lasting layer.
    setLasting(svgText, extent) {
      const doc = new DOMParser().parseFromString(svgText, 'image/svg+xml');
      const root = doc.documentElement;
      const fragment = document.createDocumentFragment();
      for (const node of Array.from(root.childNodes)) fragment.appendChild(document.importNode(node, true));
      layers.lasting.replaceChildren(fragment);
      if (!fitted) fit(extent);
    },
    setBlink(elements) { parseInto(layers.blink, elements); },
    setTemp(elements) { parseInto(layers.temp, elements); },
    // A surveyed family's members, highlighted over the drawing (empty: none).
    setSurveyed(elements) { parseInto(layers.surveyed, elements); },
    // Rings around the twins that are too small to see (their boxes, drawing units).
    setRings(boxes) { rings = boxes; drawRings(); },
    // The part a click would pick, highlighted (empty: none).
    setHover(elements) { parseInto(layers.hover, elements); },
    fit,
    // For tests and benchmarks: where a drawing point lies on the screen (client pixels), and
    // a pan of `frames` animation frames through the same path a drag takes.
    toScreen(x, y) {
      const p = toPicture(x, y), c = pictureToCanvas(p.px, p.py);
      const r = canvas.getBoundingClientRect();
      return { x: r.left + c.cx, y: r.top + c.cy };
    },
    benchPan(frames, dx, dy) {
      return new Promise((resolve) => {
        const times = [];
        let n = 0;
        const tick = (t) => {
          times.push(t);
          if (n++ >= frames) { commit(); resolve(times); return; }
          panBy(dx, dy);
          requestAnimationFrame(tick);
        };
        requestAnimationFrame(tick);
      });
    },
  };
})();

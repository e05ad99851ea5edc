// What the last search found: the Zoom button frames all the twins, a list of them (number,
// place, turn, mirrored) zooms to one when a row is clicked, and rings mark twins too small to
// see at the current zoom. The list folds away to its title.
'use strict';
window.TF = window.TF || {};
TF.found = (() => {
  let panel, rows, title, zoom;
  let twins = [];
  let rev = -1;

  function union(boxes) {
    const u = { minX: Infinity, minY: Infinity, maxX: -Infinity, maxY: -Infinity };
    for (const b of boxes) {
      u.minX = Math.min(u.minX, b.minX); u.minY = Math.min(u.minY, b.minY);
      u.maxX = Math.max(u.maxX, b.maxX); u.maxY = Math.max(u.maxY, b.maxY);
    }
    return u;
  }
  // A box with room around it: a single twin is shown at a third of the window.
  function roomy(b, share) {
    const w = Math.max(b.maxX - b.minX, 1e-9), h = Math.max(b.maxY - b.minY, 1e-9);
    return { minX: b.minX - w * share, minY: b.minY - h * share, maxX: b.maxX + w * share, maxY: b.maxY + h * share };
  }
  function zoomAll() { if (twins.length) TF.drawing.fit(roomy(union(twins.map((t) => t.box)), 0.05)); }

  function show(found) {
    if (!found || found.rev === rev) return;
    rev = found.rev;
    twins = found.twins || [];
    rows.replaceChildren();
    twins.forEach((t, i) => {
      const row = document.createElement('tr');
      const cx = (t.box.minX + t.box.maxX) / 2, cy = (t.box.minY + t.box.maxY) / 2;
      const cells = [String(i + 1) + (t.isPart ? TF.t(' (part)') : ''), `${TF.number(cx)}, ${TF.number(cy)}`,
                     `${TF.number(t.angle)}°`, t.mirrored ? TF.t('yes') : ''];
      for (const text of cells) {
        const cell = document.createElement('td');
        cell.textContent = text;
        row.append(cell);
      }
      row.title = TF.t('Twin {i}: centre {x} {y}, turned {a}°', { i: i + 1, x: TF.number(cx), y: TF.number(cy), a: TF.number(t.angle) }) +
                  (t.mirrored ? TF.t(', mirrored') : '') + TF.t('. Click to zoom to it.');
      row.addEventListener('click', () => {
        for (const r of rows.children) r.classList.toggle('shown', r === row);
        TF.drawing.fit(roomy(t.box, 1));
      });
      rows.append(row);
    });
    const n = twins.length;
    title.textContent = n ? TF.t(n === 1 ? 'Found: 1 twin' : 'Found: {n} twins', { n }) + (found.undone ? TF.t(' (undone)') : '')
                          : TF.t('Found');
    zoom.disabled = n === 0;
    panel.hidden = n === 0;
    TF.drawing.setRings(twins.map((t) => t.box));
  }

  return {
    init() {
      ({ panel, rows, title } = TF.panel('found'));
      zoom = document.getElementById('zoomFound');
      zoom.addEventListener('click', zoomAll);
    },
    show,
    zoomAll,
  };
})();

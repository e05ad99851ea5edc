// The Survey button's list: the drawing's families of twins, largest first. The pointer over
// a row (or the row picked) shows the family's members highlighted in the drawing; a click on
// a row has the command find that family, indicated as a user would indicate it.
'use strict';
window.TF = window.TF || {};
TF.survey = (() => {
  let panel, rows, note, title, layer;
  let families = [];
  let picked = -1;
  let hovered = -1;
  let handlers = { pick: null, again: null };

  // A box's width and height, four figures each; a side a billionth of the other is 0 (a
  // straight line's rounding).
  function size(b) {
    const w = b.maxX - b.minX, h = b.maxY - b.minY, most = Math.max(w, h);
    const side = (v) => (v <= most * 1e-9 ? '0' : String(Number(v.toPrecision(4))));
    return `${side(w)} × ${side(h)}`;
  }

  function highlight() {
    const shown = hovered >= 0 ? hovered : picked;
    TF.drawing.setSurveyed(shown >= 0 && families[shown] ? families[shown].svg : '');
    for (const row of rows.children) row.classList.toggle('shown', Number(row.dataset.family) === shown);
  }

  function show(survey) {
    families = survey.families;
    picked = -1;
    hovered = -1;
    rows.replaceChildren();
    const n = families.length;
    title.textContent = n ? TF.t(n === 1 ? 'Survey: 1 family' : 'Survey: {n} families', { n }) : TF.t('Survey');
    note.textContent = n
      ? TF.t('Among {c} candidate parts of {s} segments', { c: survey.candidates, s: survey.segments }) +
        (survey.hiddenLayers ? TF.t(' (hidden layers included)') : '') + TF.t(', in {t} s. ', { t: survey.seconds.toFixed(2) }) +
        TF.t('Point at a row to see its members; click it to have the command find them.')
      : TF.t('No repeated parts: no part of this drawing occurs twice under the current settings.');
    // Families that differ only by rounding, and the tolerance that would make them one.
    // A tolerance that joins them is offered as a button; the survey runs again with it.
    (survey.near || []).forEach((line, i) => {
      note.append(document.createElement('br'), line);
      const suggest = survey.nearSettings && survey.nearSettings[i];
      if (suggest) note.append(' ', TF.settings.offer(suggest, () => handlers.again && handlers.again()));
    });
    families.forEach((f, i) => {
      const row = document.createElement('tr');
      row.dataset.family = String(i);
      const cells = [String(i + 1), String(f.count), String(f.mirrored), String(f.figures), size(f.box)];
      cells.forEach((text, c) => {
        const cell = document.createElement('td');
        cell.textContent = text;
        if (c === 0) cell.style.borderLeft = `4px solid ${f.colour}`;
        row.append(cell);
      });
      row.title = TF.t('Family {i}: {n} parts, {m} mirrored; {f} figures in {s} segments; one at {x1} {y1} to {x2} {y2}', {
        i: i + 1, n: f.count, m: f.mirrored, f: f.figures, s: f.segments, x1: TF.number(f.box.minX),
        y1: TF.number(f.box.minY), x2: TF.number(f.box.maxX), y2: TF.number(f.box.maxY) });
      row.addEventListener('pointerenter', () => { hovered = i; highlight(); });
      row.addEventListener('pointerleave', () => { if (hovered === i) hovered = -1; highlight(); });
      row.addEventListener('click', () => {
        picked = i;
        highlight();
        if (handlers.pick) handlers.pick(i);
      });
      rows.append(row);
    });
    panel.hidden = false;
    panel.classList.remove('stale');
    highlight();
  }

  return {
    init(h) {
      handlers = h;
      ({ panel, rows, title } = TF.panel('survey'));
      note = document.getElementById('surveyNote');
      document.getElementById('surveyClose').addEventListener('click', () => {
        panel.hidden = true;
        hovered = picked = -1;
        highlight();
      });
    },
    // A survey under way: its progress, and a button that cancels it.
    busy(cancel) {
      panel.hidden = false;
      title.textContent = TF.t('Survey');
      note.textContent = TF.t('Surveying the drawing…');
      const stop = document.createElement('button');
      stop.id = 'surveyCancel';
      stop.textContent = TF.t('Cancel');
      stop.addEventListener('click', () => { stop.disabled = true; cancel(); });
      note.append(' ', stop);
      rows.replaceChildren();
      families = [];
      highlight();
    },
    progress(done) {
      const first = note.firstChild;
      if (first && first.nodeType === Node.TEXT_NODE) {
        first.textContent = TF.t('Surveying the drawing… {p} %', { p: Math.round(done * 100) });
      }
    },
    show,
    failed(text) { note.textContent = text; },
    // The drawing changed after the survey (the command's copies, say): the list is kept, but
    // marked, and a pick asks for a new survey.
    stale(isStale) {
      if (!families.length || panel.hidden) return;
      if (isStale && !panel.classList.contains('stale')) {
        panel.classList.add('stale');
        note.textContent = TF.t('The drawing has changed since this survey (or its layers were switched): press Survey again to see it as it is now.');
      }
    },
  };
})();

// The settings the page can change: the settings outside the command's dialog (tolerance, range
// limit, drawing scale, language) in a panel of their own, and the buttons beside a line that
// suggests a setting (the range limit of a range too large, the tolerance that joins near
// families, the drawing scale of rows too wide). Each applies the setting to this session, or
// keeps it in the user's settings too; the command takes it from its next step.
'use strict';
window.TF = window.TF || {};
TF.settings = (() => {
  let panel, rows, button;
  let handlers = { apply: null };
  let shown = [];

  // Two buttons for a suggested setting: this session, or kept.
  function offer(suggest, after) {
    const span = document.createElement('span');
    span.className = 'suggest';
    const use = (keep) => async () => {
      for (const b of span.querySelectorAll('button')) b.disabled = true;
      const state = await handlers.apply(suggest.name, suggest.value, keep);
      if (state && state.ok && after) after();
      if (!state || !state.ok) for (const b of span.querySelectorAll('button')) b.disabled = false;
    };
    const session = document.createElement('button');
    session.textContent = TF.t('Use {name} {value}', suggest);
    session.title = TF.t('Apply {name} {value} to this session', suggest);
    session.addEventListener('click', use(false));
    const keep = document.createElement('button');
    keep.textContent = TF.t('and keep it');
    keep.title = TF.t('Apply {name} {value} and keep it in your settings', suggest);
    keep.addEventListener('click', use(true));
    span.append(session, keep);
    return span;
  }

  function render() {
    rows.replaceChildren();
    for (const s of shown) {
      const row = document.createElement('tr');
      const name = document.createElement('td');
      name.textContent = s.name;
      name.title = s.meaning;
      const value = document.createElement('td');
      const input = document.createElement('input');
      input.value = s.value;
      input.spellcheck = false;
      input.setAttribute('aria-label', s.name);
      input.dataset.setting = s.name;
      value.append(input);
      const act = document.createElement('td');
      const apply = (keep) => () => handlers.apply(s.name, input.value.trim(), keep);
      const session = document.createElement('button');
      session.textContent = TF.t('Apply');
      session.title = TF.t('Apply it to this session');
      session.addEventListener('click', apply(false));
      const keep = document.createElement('button');
      keep.textContent = TF.t('Keep');
      keep.title = TF.t('Apply it and keep it in your settings');
      keep.addEventListener('click', apply(true));
      input.addEventListener('keydown', (e) => { if (e.key === 'Enter') { e.preventDefault(); session.click(); } });
      act.append(session, keep);
      const meaning = document.createElement('tr');
      meaning.className = 'meaning';
      const text = document.createElement('td');
      text.colSpan = 3;
      text.textContent = s.meaning + (s.held ? TF.t(' (this session only)') : '');
      meaning.append(text);
      row.append(name, value, act);
      rows.append(row, meaning);
    }
  }

  return {
    init(h) {
      handlers = h;
      ({ panel, rows } = TF.panel('settings'));
      button = document.getElementById('settingsButton');
      const showPanel = (on) => {
        panel.hidden = !on;
        button.setAttribute('aria-pressed', String(on));
        if (on) render();
      };
      button.addEventListener('click', () => showPanel(panel.hidden));
      document.getElementById('settingsClose').addEventListener('click', () => showPanel(false));
    },
    // The settings as the state tells them; the panel is drawn again when they changed and no
    // value is being typed.
    show(settings) {
      if (!settings || JSON.stringify(settings) === JSON.stringify(shown)) return;
      shown = settings;
      if (!panel.hidden && !panel.contains(document.activeElement)) render();
    },
    offer,
  };
})();

// The plug-in's dialogs in the page: each open dialog laid out from its template (positions in
// the pixels of the dialog pictures), its controls showing what the dialog says they show, and
// every click, double-click, typed text, list choice and key handed back to the dialog as the
// action the text-mode dialog takes. A picker opened from the settings dialog lies over it.
'use strict';
window.TF = window.TF || {};
TF.dialogs = (() => {
  const LIST_HEIGHT = 21;  // a closed drop-down list, whatever its template's height
  let host, send;
  let shown = [];  // per depth: {template, root, controls: Map(id -> element), dirty: Set(id)}

  function place(el, c) {
    el.style.left = c.left + 'px';
    el.style.top = c.top + 'px';
    el.style.width = c.right - c.left + 'px';
    el.style.height = c.bottom - c.top + 'px';
  }

  // A click as the dialog takes it: the second click of a double-click is a double-click for
  // controls that tell one (radio buttons, swatches, samples), one more click for the rest.
  function clicker(depth, c) {
    const tellsDouble = c.kind === 'radio' || c.kind === 'swatch' || c.kind === 'bitmap';
    return (event) => {
      event.preventDefault();
      flushEdits(depth);
      const action = tellsDouble && event.detail >= 2 ? 'dblclick' : 'click';
      send(depth, { action, id: c.id });
    };
  }

  function flushEdits(depth) {
    const d = shown[depth - 1];
    if (!d) return;
    for (const id of d.dirty) {
      const input = d.controls.get(id);
      send(depth, { action: 'text', id, text: input.value });
    }
    d.dirty.clear();
  }

  function build(depth, dialog) {
    const win = document.createElement('div');
    win.className = 'window';
    win.dataset.template = dialog.template;
    const bar = document.createElement('div');
    bar.className = 'titlebar';
    const caption = document.createElement('span');
    caption.className = 'caption';
    caption.textContent = dialog.caption;
    const close = document.createElement('button');
    close.className = 'close';
    close.textContent = '\u2715';
    close.title = TF.t('Close (Cancel)');
    close.addEventListener('click', () => send(depth, { action: 'cancel' }));
    bar.append(caption, close);
    const client = document.createElement('div');
    client.className = 'client';
    client.style.width = dialog.width + 'px';
    client.style.height = dialog.height + 'px';
    win.append(bar, client);
    const entry = { template: dialog.template, root: win, client, controls: new Map(), dirty: new Set(),
                    paint: document.createElement('div') };
    for (const c of dialog.controls) {
      let el;
      switch (c.kind) {
        case 'group':
          el = document.createElement('div');
          el.append(Object.assign(document.createElement('span'), { textContent: c.text }));
          break;
        case 'label':
          el = Object.assign(document.createElement('div'), { textContent: c.text });
          break;
        case 'button':
          el = Object.assign(document.createElement('button'), { textContent: c.text });
          el.addEventListener('click', clicker(depth, c));
          break;
        case 'check':
        case 'radio':
          el = document.createElement('div');
          el.append(Object.assign(document.createElement('span'), { className: 'mark' }),
                    Object.assign(document.createElement('span'), { className: 'text' }));
          el.addEventListener('click', clicker(depth, c));
          break;
        case 'edit':
          el = document.createElement('input');
          el.spellcheck = false;
          el.addEventListener('input', () => entry.dirty.add(c.id));
          el.addEventListener('change', () => flushEdits(depth));
          break;
        case 'list':
          el = document.createElement('select');
          el.addEventListener('change', () => {
            flushEdits(depth);
            send(depth, { action: 'select', id: c.id, index: el.selectedIndex });
          });
          break;
        case 'swatch':
          el = document.createElement('div');
          el.addEventListener('click', clicker(depth, c));
          break;
        case 'bitmap':
          el = document.createElement('img');
          el.alt = '';
          el.draggable = false;
          el.addEventListener('click', clicker(depth, c));
          break;
        default:
          continue;
      }
      el.classList.add('ctl', c.kind);
      if (c.id !== -1) el.dataset.id = c.id;
      place(el, c);
      if (c.kind === 'list') el.style.height = LIST_HEIGHT + 'px';
      client.append(el);
      if (c.id !== -1) entry.controls.set(c.id, el);
    }
    client.append(entry.paint);
    host.append(win);
    // Centred in the window; a picker a little lower and to the right of what it came from.
    const w = dialog.width + 2, h = dialog.height + 32;
    win.style.left = Math.max(8, (window.innerWidth - w) / 2 + (depth - 1) * 40) + 'px';
    win.style.top = Math.max(8, (window.innerHeight - h) / 2 + (depth - 1) * 40) + 'px';
    return entry;
  }

  function update(entry, dialog, top) {
    entry.root.classList.toggle('under', !top);
    for (const c of dialog.controls) {
      const el = entry.controls.get(c.id);
      if (!el) continue;
      place(el, c);
      if (c.kind === 'list') el.style.height = LIST_HEIGHT + 'px';
      el.classList.toggle('focus', c.id === dialog.focus && c.kind !== 'edit');
      switch (c.kind) {
        case 'button':
          el.textContent = c.text;
          break;
        case 'check':
        case 'radio':
          el.classList.toggle('on', !!c.check);
          el.querySelector('.mark').textContent = c.kind === 'check' && c.check ? '\u2714' : '';
          el.querySelector('.text').textContent = c.text;
          break;
        case 'edit':
          // What the user is typing stays until it is handed over.
          if (!entry.dirty.has(c.id) && el.value !== c.text) el.value = c.text;
          break;
        case 'list': {
          const entries = c.entries || [];
          if (el.options.length !== entries.length || entries.some((t, i) => el.options[i].text !== t)) {
            el.replaceChildren(...entries.map((t) => new Option(t)));
          }
          el.selectedIndex = c.curSel;
          break;
        }
        case 'swatch':
          el.style.background = (c.fills && c.fills.length) ? c.fills[c.fills.length - 1] : '#FFFFFF';
          break;
        case 'bitmap':
          if (c.image && el.src !== c.image) el.src = c.image;
          break;
      }
    }
    // The dialog's own paint: the pickers' selection frames.
    entry.paint.replaceChildren(...(dialog.paint || []).map((p) => {
      const el = document.createElement('div');
      el.className = 'paint';
      place(el, p);
      if (p.fill) el.style.background = p.color;
      else el.style.border = `${p.penWidth}px solid ${p.color}`;
      if (!p.fill && !p.hollow) el.style.background = '#FFFFFF';
      return el;
    }));
  }

  return {
    init(element, sender) {
      host = element;
      send = sender;
      document.addEventListener('keydown', (event) => {
        if (!shown.length || !host.classList.contains('open')) return;
        const depth = shown.length;
        const inList = event.target instanceof HTMLSelectElement;
        if (event.key === 'Enter' && !inList) {
          event.preventDefault();
          flushEdits(depth);
          send(depth, { action: 'key', key: 'enter' });
        } else if (event.key === 'Escape') {
          event.preventDefault();
          send(depth, { action: 'key', key: 'escape' });
        }
      }, true);
    },
    open() { return shown.length > 0; },
    render(dialogs) {
      dialogs = dialogs || [];
      // Closed dialogs go; a dialog of another template at a depth is a new one.
      while (shown.length > dialogs.length ||
             (shown.length && shown[shown.length - 1].template !== dialogs[shown.length - 1].template)) {
        shown.pop().root.remove();
      }
      dialogs.forEach((d, i) => {
        if (!shown[i]) {
          shown[i] = build(i + 1, d);
          const first = d.controls.find((c) => c.id === d.focus && (c.kind === 'edit' || c.kind === 'list'));
          update(shown[i], d, i === dialogs.length - 1);
          if (first) shown[i].controls.get(first.id).focus();
        } else {
          update(shown[i], d, i === dialogs.length - 1);
        }
      });
      host.classList.toggle('open', dialogs.length > 0);
    },
  };
})();

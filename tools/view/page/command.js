// The command line of the page, as a CAD program has one: the lines the host and the tool
// said, the prompt with the typed input after it, the end button, the step's cursor text and
// what it takes; and the host's message boxes, shown one at a time as modal boxes with OK.
'use strict';
window.TF = window.TF || {};

// A coordinate as the terminal shows it: six significant figures.
TF.number = (v) => {
  if (!isFinite(v)) return String(v);
  const t = Number(v.toPrecision(6));
  return String(Object.is(t, -0) ? 0 : t);
};

TF.command = (() => {
  const MAX_LINES = 500;
  let history, prompt, keyin, takes, info;
  const boxes = [];
  let modal = null;

  // A line of the command line; one that suggests a setting gets its buttons.
  function addLine(kind, text, suggest) {
    const line = document.createElement('div');
    line.className = kind;
    line.textContent = kind === 'prompt' ? text : (kind === 'refused' ? '× ' + text : text);
    if (suggest) line.append(' ', TF.settings.offer(suggest));
    history.append(line);
    while (history.childElementCount > MAX_LINES) history.firstElementChild.remove();
    history.scrollTop = history.scrollHeight;
  }

  function describeTakes(takes) {
    const parts = [];
    if (takes.window) parts.push(TF.t('drag a window'));
    if (takes.point) parts.push(TF.t('click a point') + (takes.snap ? TF.t(' (balloons snap)') : ''));
    if (takes.keyin) parts.push(TF.t('type and press Enter'));
    parts.push(TF.t('End or Escape: the end button'));
    return parts.join(' · ');
  }

  // The modal box: a message with OK, or a question with an answer.
  function showModal({ caption, text, input, cancel, select }) {
    return new Promise((resolve) => {
      const el = document.getElementById('modal');
      const box = document.getElementById('modalInput');
      const ok = document.getElementById('modalOk');
      const no = document.getElementById('modalCancel');
      document.getElementById('modalCaption').textContent = caption || 'Twinfind';
      document.getElementById('modalText').textContent = text;
      box.hidden = input === undefined;
      box.value = input || '';
      no.hidden = !cancel;
      el.hidden = false;
      modal = { resolve };
      const done = (answer) => {
        el.hidden = true;
        ok.onclick = no.onclick = box.onkeydown = null;
        modal = null;
        resolve(answer);
      };
      ok.onclick = () => done(input === undefined ? true : box.value);
      no.onclick = () => done(null);
      box.onkeydown = (e) => { if (e.key === 'Enter') { e.preventDefault(); ok.click(); } };
      (input === undefined ? ok : box).focus();
      // A name offered to be replaced: selected, so that typing writes the new one.
      if (input !== undefined && select) box.select();
    });
  }

  async function nextBox() {
    while (boxes.length && !modal) {
      await showModal({ caption: 'Twinfind', text: boxes.shift() });
    }
  }

  return {
    init(handlers) {
      history = document.getElementById('history');
      prompt = document.getElementById('prompt');
      keyin = document.getElementById('keyin');
      takes = document.getElementById('takes');
      info = document.getElementById('info');
      keyin.addEventListener('keydown', (event) => {
        if (event.key === 'Enter') {
          event.preventDefault();
          const text = keyin.value;
          keyin.value = '';
          handlers.keyin(text);
        } else if (event.key === 'Escape') {
          event.preventDefault();
          handlers.end();
        }
      });
      document.getElementById('end').addEventListener('click', () => handlers.end());
      document.addEventListener('keydown', (event) => {
        if (modal || TF.dialogs.open() || event.defaultPrevented) return;
        const inField = event.target instanceof HTMLInputElement;
        const key = event.key.toLowerCase();
        if ((event.ctrlKey || event.metaKey) && !event.altKey && (key === 'z' || key === 'y') &&
            !(inField && event.target.value)) {
          // Ctrl+Z undoes the last result action, Ctrl+Y and Ctrl+Shift+Z redo it (a text
          // being typed keeps the field's own undo).
          event.preventDefault();
          if (key === 'z' && !event.shiftKey) handlers.undo(); else handlers.redo();
          return;
        }
        if (event.key === 'Escape' && !inField) {
          event.preventDefault();
          handlers.end();
        } else if (event.key === 'Enter' && !inField && !(event.target instanceof HTMLButtonElement)) {
          // Enter anywhere answers the prompt with what the command line holds.
          event.preventDefault();
          const text = keyin.value;
          keyin.value = '';
          handlers.keyin(text);
        } else if (!inField && event.key.length === 1 && !event.ctrlKey && !event.metaKey && !event.altKey) {
          // Typing anywhere goes to the command line, as in a CAD program.
          keyin.focus();
        }
      });
    },
    addLine,
    modalOpen() { return !!modal; },
    ask: showModal,
    // A message box of the host: shown after any before it, modal, with OK.
    box(text) { boxes.push(text); nextBox(); },
    show(state) {
      if (state.active) {
        prompt.textContent = state.prompt;
        prompt.classList.remove('ended');
        keyin.placeholder = state.defaultInput ? `Enter: ${state.defaultInput}` : '';
        takes.textContent = describeTakes(state.takes);
      } else {
        prompt.textContent = TF.t('The command has ended: Start runs it again.');
        prompt.classList.add('ended');
        keyin.placeholder = '';
        takes.textContent = '';
      }
    },
    info(text) { info.textContent = text; },
  };
})();

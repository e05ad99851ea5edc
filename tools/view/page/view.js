// The page's side of the conversation with twinfind view: every request carries the page's
// own id (one page drives the command), actions go out one at a time in the order the user
// made them (pointer motion folded to the latest position), and each answer, the state of the
// command, is shown: the command line, the dialogs, the message boxes and the drawing's layers.
'use strict';
window.TF = window.TF || {};
(() => {
  const HEARTBEAT_MS = 1500;
  const pageId = sessionStorage.getItem('twinfindPage') ||
    Array.from(crypto.getRandomValues(new Uint8Array(12)), (b) => b.toString(16).padStart(2, '0')).join('');
  sessionStorage.setItem('twinfindPage', pageId);

  let seq = 0;
  const have = { lasting: 0, blink: -1, temp: -1, found: -1, drawingLayers: -1 };
  let last = null;        // the last state
  let chain = Promise.resolve();
  let pendingMove = null; // a pointer position not yet sent
  let moving = false;
  let stopped = false;
  let lastSent = 0;
  let lastingLoading = 0;

  function headers(json) {
    const h = { 'X-Twinfind-Page': pageId };
    if (json) h['Content-Type'] = 'application/json';
    return h;
  }
  function block(text) {
    document.getElementById('blockedText').textContent = text;
    document.getElementById('blocked').hidden = false;
  }
  async function post(path, body) {
    lastSent = Date.now();
    let response;
    try {
      response = await fetch(path, { method: 'POST', headers: headers(true), body: JSON.stringify(body) });
    } catch (e) {
      stop(TF.t('The view has stopped (the tool is no longer running). You can close this page.'));
      throw e;
    }
    const answer = await response.json().catch(() => ({ ok: false, error: `answer ${response.status}` }));
    if (answer.busy) block(answer.error);
    return answer;
  }
  function stop(text) {
    stopped = true;
    block(text);
  }

  // Every action goes through here, one after the other.
  function act(body) {
    const run = chain.then(async () => {
      if (stopped) return null;
      const state = await post('api/act', Object.assign({ since: seq, have }, body));
      apply(state);
      return state;
    });
    chain = run.catch(() => null);
    return run;
  }
  function dialogAct(depth, body) {
    const dialog = last && last.dialogs[depth - 1];
    if (!dialog) return;
    act(Object.assign({ do: 'dialog', depth, template: dialog.template }, body));
  }
  // Motion: only the latest position matters; one motion request at a time.
  function move(x, y) {
    pendingMove = { x, y };
    if (moving) return;
    moving = true;
    const next = () => {
      const m = pendingMove;
      pendingMove = null;
      if (!m) { moving = false; return; }
      act({ do: 'move', x: m.x, y: m.y }).finally(next);
    };
    next();
  }

  // The part under the pointer at the part prompt: one request at a time, the latest position
  // only; the answer is shown unless the pointer has moved on meanwhile.
  let pendingHover = null;
  let hovering = false;
  function hover(x, y, reach) {
    pendingHover = x === null ? { clear: true } : { x, y, reach };
    if (hovering) return;
    hovering = true;
    const next = async () => {
      const h = pendingHover;
      pendingHover = null;
      if (!h) { hovering = false; return; }
      if (h.clear || stopped || !last || !last.active || last.takes.step !== 'window') {
        TF.drawing.setHover('');
      } else {
        try {
          const answer = await post('api/act', { do: 'hover', x: h.x, y: h.y, reach: h.reach });
          if (!pendingHover && answer && answer.ok) TF.drawing.setHover(answer.hover || '');
        } catch (e) { /* the view has stopped */ }
      }
      next();
    };
    next();
  }

  async function loadLasting(rev) {
    if (lastingLoading === rev) return;
    lastingLoading = rev;
    const response = await fetch('api/drawing.svg', { headers: headers(false) });
    const text = await response.text();
    if (rev < have.lasting) return;
    TF.drawing.setLasting(text, last && last.extent);
    have.lasting = rev;
    document.getElementById('loading').hidden = true;
    // Two frames later the picture is on the screen.
    requestAnimationFrame(() => requestAnimationFrame(() => {
      if (!window.twinfindFirstPicture) {
        window.twinfindFirstPicture = performance.timeOrigin + performance.now();
        document.body.dataset.ready = '1';
      }
      document.body.dataset.lasting = String(rev);
    }));
  }

  function apply(state) {
    if (!state || state.busy) return;
    if (state.ok === false && state.error && state.lines === undefined) {
      // A refusal before the command saw the action (a stale dialog action is no news).
      if (!state.stale) TF.command.addLine('refused', state.error);
      return;
    }
    // The lines said before this page loaded (a reload, the language switched) are shown in
    // the command line; their message boxes were answered already.
    const loaded = last !== null;
    last = state;
    for (const line of state.lines) {
      if (line.seq <= seq) continue;
      TF.command.addLine(line.kind, line.text, line.suggest);
      if (line.kind === 'box' && loaded) TF.command.box(line.text);
      if (line.kind === 'info') TF.command.info(line.text);
    }
    seq = Math.max(seq, state.seq);
    TF.drawing.setMapping(state.mapping);
    if (state.layers.blink.svg !== undefined) { TF.drawing.setBlink(state.layers.blink.svg); have.blink = state.layers.blink.rev; }
    if (state.layers.temp.svg !== undefined) { TF.drawing.setTemp(state.layers.temp.svg); have.temp = state.layers.temp.rev; }
    if (state.layers.lasting !== have.lasting) loadLasting(state.layers.lasting);
    TF.drawing.setStep({ active: state.active && !state.dialogs.length, takes: state.takes, echo: state.echo,
                         cursor: state.cursor });
    if (!state.active || state.takes.step !== 'window') TF.drawing.setHover('');
    TF.command.show(state);
    TF.dialogs.render(state.dialogs);
    document.getElementById('file').textContent = state.drawing || '(empty drawing)';
    const save = document.getElementById('save');
    save.classList.toggle('unsaved', state.unsaved);
    save.title = state.out ? TF.t('Save the drawing as {name}', { name: state.out })
                           : TF.t('Save the drawing as DXF (asks for a name)');
    document.getElementById('saved').textContent =
      TF.t(state.unsaved ? 'changes not saved' : 'no unsaved changes') +
      (state.out ? TF.t(' · Save writes {name}', { name: state.out }) : '');
    TF.survey.stale(state.surveyed && !state.surveyFresh);
    if (state.found && state.found.twins) { TF.found.show(state.found); have.found = state.found.rev; }
    if (state.drawingLayers && state.drawingLayers.list) {
      TF.layers.show(state.drawingLayers);
      have.drawingLayers = state.drawingLayers.rev;
    }
    // Undo and Redo: offered while there is a state to go to; at a step of a result action the
    // tool says that it waits for the step to finish.
    const undo = document.getElementById('undo'), redo = document.getElementById('redo');
    undo.disabled = !state.history.undo;
    redo.disabled = !state.history.redo;
    const waits = state.takes.rest ? '' : TF.t(' (waits until the command asks for a range, a part or typed input)');
    undo.title = TF.t('Undo the last result action (Ctrl+Z): {n} to undo{waits}', { n: state.history.undo, waits });
    redo.title = TF.t('Redo it (Ctrl+Y, Ctrl+Shift+Z): {n} to redo{waits}', { n: state.history.redo, waits });
    TF.settings.show(state.settings);
    document.body.dataset.searches = String(state.searches);
    document.body.dataset.active = state.active ? '1' : '0';
  }

  // The name Save offers: the file saved to last, else the drawing's name with -twinfind.
  function suggestedName() {
    if (last && last.out) return last.out;
    const drawing = last && last.drawing;
    if (!drawing) return 'drawing.dxf';
    const base = drawing.split('/').pop().replace(/\.(dxf|dwg)$/i, '');
    return `${base}-twinfind.dxf`;
  }
  // Save writes the file saved to last without asking; Save as (and a first Save) asks for a
  // name, offered selected so that typing replaces it. A file that stands there is replaced
  // only when the user says so; what was written is told in the command line and the status.
  async function save(asking) {
    let name;
    if (asking || !last || !last.out) {
      name = await TF.command.ask({ caption: TF.t(asking ? 'Save as' : 'Save'),
                                    text: TF.t('Save the drawing as (a .dxf file, relative to the folder twinfind view runs in):'),
                                    input: suggestedName(), cancel: true, select: true });
      if (!name) return;
    }
    let state = await act(name ? { do: 'save', name } : { do: 'save' });
    const replace = state && state.confirm && state.confirm.replace;
    if (replace) {
      const sure = await TF.command.ask({ caption: TF.t('Save'), text: TF.t('{name} exists. Replace it?', { name: replace }), cancel: true });
      if (!sure) return;
      state = await act({ do: 'save', name: replace, replace: true });
    }
    if (state && state.ok && !state.unsaved) TF.command.info(TF.t('Saved {name}', { name: state.out }));
  }
  // A setting applied from a button: for this session, or kept in the user's settings.
  function applySetting(name, value, keep) {
    TF.command.addLine('typed', '› ' + TF.t(keep ? '(Setting: {name} {value}, kept)' : '(Setting: {name} {value})', { name, value }));
    return act({ do: 'setting', name, value, keep });
  }
  async function report() {
    const response = await fetch('api/report.json', { headers: headers(false) });
    const blob = await response.blob();
    const a = document.createElement('a');
    a.href = URL.createObjectURL(blob);
    a.download = 'twinfind-report.json';
    document.body.append(a);
    a.click();
    a.remove();
    setTimeout(() => URL.revokeObjectURL(a.href), 10000);
  }
  // The survey runs on the host's worker; its progress is asked for meanwhile, and the list's
  // Cancel stops it.
  async function survey() {
    TF.survey.busy(() => fetch('api/cancel', { method: 'POST', headers: headers(true), body: '{}' }));
    let surveying = true;
    const poll = async () => {
      while (surveying) {
        await new Promise((resolve) => setTimeout(resolve, 250));
        if (!surveying) break;
        try {
          const response = await fetch('api/progress', { headers: headers(false) });
          const progress = await response.json();
          if (surveying && progress.surveying) TF.survey.progress(progress.done);
        } catch (e) { break; }
      }
    };
    poll();
    const state = await act({ do: 'survey', hiddenLayers: document.getElementById('surveyHidden').checked });
    surveying = false;
    if (state && state.survey) TF.survey.show(state.survey);
    else TF.survey.failed((state && state.error) || TF.t('The survey could not run now.'));
  }
  async function quit() {
    if (last && last.unsaved) {
      const sure = await TF.command.ask({ caption: TF.t('Quit'), text: TF.t('The drawing has changes that no Save has written. Quit anyway?'), cancel: true });
      if (!sure) return;
    }
    await chain;
    try { await post('api/quit', {}); } catch (e) { /* stopped already */ }
    stop(TF.t('The view has stopped. You can close this page.'));
  }

  window.addEventListener('DOMContentLoaded', () => {
    TF.drawing.init({ coords: 'coords' });
    TF.drawing.on('range', (x1, y1, x2, y2) => act({ do: 'range', x1, y1, x2, y2 }));
    TF.drawing.on('point', (x, y) => { pendingMove = null; act({ do: 'point', x, y }); });
    TF.drawing.on('move', move);
    TF.drawing.on('hover', hover);
    TF.drawing.on('pick', (x, y, reach) => {
      TF.drawing.setHover('');
      act({ do: 'pickAt', x, y, reach });
    });
    TF.dialogs.init(document.getElementById('dialogs'), dialogAct);
    TF.found.init();
    TF.layers.init({
      toggle: (layer, visible) => {
        TF.command.addLine('typed', '› ' + TF.t(visible ? '(Layer {n}: on)' : '(Layer {n}: off)', { n: layer }));
        act({ do: 'layer', layer, visible });
      },
    });
    const undo = () => { TF.command.addLine('typed', '› ' + TF.t('(Undo)')); act({ do: 'undo' }); };
    const redo = () => { TF.command.addLine('typed', '› ' + TF.t('(Redo)')); act({ do: 'redo' }); };
    TF.command.init({
      keyin: (text) => {
        // The typed answer stays in the command line's history, after its prompt.
        TF.command.addLine('typed', '› ' + (text || '(Enter)'));
        act({ do: 'key', text });
      },
      end: () => { TF.command.addLine('typed', '› ' + TF.t('(End)')); act({ do: 'end' }); },
      undo,
      redo,
    });
    document.getElementById('undo').addEventListener('click', undo);
    document.getElementById('redo').addEventListener('click', redo);
    document.getElementById('fit').addEventListener('click', () => TF.drawing.fit(last && last.extent));
    const hand = document.getElementById('hand');
    hand.addEventListener('click', () => {
      TF.drawing.setHand(!TF.drawing.hand());
      hand.setAttribute('aria-pressed', String(TF.drawing.hand()));
    });
    document.getElementById('start').addEventListener('click', () => act({ do: 'start' }));
    document.getElementById('survey').addEventListener('click', survey);
    // The survey takes the hidden layers in, or leaves them out again: surveyed once more.
    document.getElementById('surveyHidden').addEventListener('change', survey);
    TF.survey.init({
      again: survey,
      pick: (family) => {
        TF.command.addLine('typed', '› ' + TF.t('(Survey: family {n})', { n: family + 1 }));
        act({ do: 'pick', family });
      },
    });
    document.getElementById('save').addEventListener('click', () => save(false));
    document.getElementById('saveAs').addEventListener('click', () => save(true));
    TF.settings.init({ apply: applySetting });
    // The language button: the command and the page speak the other language from now on, kept
    // in the user's settings; the page is loaded again in it.
    TF.switchLanguage = async (language) => {
      const state = await act({ do: 'setting', name: 'mLanguage', value: language, keep: true });
      if (state && state.ok) location.reload();
    };
    document.getElementById('report').addEventListener('click', report);
    document.getElementById('quit').addEventListener('click', quit);
    act({ do: 'state', since: 0 });
    // The heartbeat: the server knows the page is there, and the page sees what others did.
    setInterval(() => { if (!stopped && Date.now() - lastSent >= HEARTBEAT_MS) act({ do: 'state' }); }, HEARTBEAT_MS);
  });
  // For tests and benchmarks: the last state, where a drawing point is on the screen, a pan
  // through the drag's own path, and a promise that the requests made so far have been answered.
  window.twinfindView = { act, toScreen: (x, y) => TF.drawing.toScreen(x, y), benchPan: TF.drawing.benchPan,
                          state: () => last,
                          settled: async () => { while (moving) await chain; await chain; return have.lasting; } };
})();

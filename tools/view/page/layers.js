// The drawing's layers: each with its colour, a switch and its count of segments. A layer
// switched off is neither drawn nor selected by the command's windows (the host's own
// visibility, switched through the tool's `layer N on|off` line); it is a setting of the view,
// and Save keeps every layer as the file has it. Layers off in the file start off.
'use strict';
window.TF = window.TF || {};
TF.layers = (() => {
  let panel, rows, title, button;
  let list = [];
  let rev = -1;
  let handlers = { toggle: null };

  function render() {
    rows.replaceChildren();
    for (const layer of list) {
      const row = document.createElement('tr');
      row.dataset.layer = String(layer.number);
      row.classList.toggle('off', !layer.visible);
      const switchCell = document.createElement('td');
      const box = document.createElement('input');
      box.type = 'checkbox';
      box.checked = layer.visible;
      box.setAttribute('aria-label', TF.t('Show layer {name}', { name: layer.name }));
      box.addEventListener('change', () => handlers.toggle(layer.number, box.checked));
      switchCell.append(box);
      const nameCell = document.createElement('td');
      const swatch = document.createElement('span');
      swatch.className = 'swatch';
      if (layer.colour) swatch.style.background = layer.colour; else swatch.classList.add('none');
      nameCell.append(swatch, layer.number === Number(layer.name) ? layer.name : `${layer.number} ${layer.name}`);
      const countCell = document.createElement('td');
      countCell.textContent = String(layer.segments);
      row.append(switchCell, nameCell, countCell);
      row.title = TF.t('Layer {name}: {n} segments, {state}', {
        name: layer.name, n: layer.segments, state: TF.t(layer.visible ? 'shown' : 'off') });
      rows.append(row);
    }
    const off = list.filter((l) => !l.visible).length;
    title.textContent = TF.t('Layers: {n}, {off} off', { n: list.length, off });
  }

  return {
    init(h) {
      handlers = h;
      ({ panel, rows, title } = TF.panel('layer'));
      button = document.getElementById('layersButton');
      const showPanel = (shown) => {
        panel.hidden = !shown;
        button.setAttribute('aria-pressed', String(shown));
      };
      button.addEventListener('click', () => showPanel(panel.hidden));
      document.getElementById('layerClose').addEventListener('click', () => showPanel(false));
    },
    // The layers as the state tells them, when they changed.
    show(layers) {
      if (!layers || layers.list === undefined || layers.rev === rev) return;
      rev = layers.rev;
      list = layers.list;
      render();
    },
    rerender() { if (list.length) render(); },
  };
})();

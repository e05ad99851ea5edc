// Reads a DWG drawing and writes it as DXF, for Twinfind, which runs this in a Node process of
// its own for each drawing (the reader, LibreDWG as WebAssembly, is GPL-3.0):
//
//   node --liftoff-only dwg_to_dxf.mjs DRAWING.dwg OUT.dxf
//
// The DXF is the package's own writer's, with the layers' on and frozen states taken from the
// drawing as the package's object model reads it (its writer marks every layer off). A drawing
// it cannot read ends the process with status 2 and one line on standard error that starts
// with "twinfind-dwg: ".
import { readFileSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import path from 'node:path';
import { LibreDwg, Dwg_File_Type } from '@mlightcad/libredwg-web';

function fail(why) {
  process.stderr.write(`twinfind-dwg: ${why}\n`);
  process.exit(2);
}

// The layers' states in the DXF text: each LAYER entry of the layer table gets its colour's
// sign (negative: off) and its frozen flag (bit 1 of group 70) from `states` (name -> {off,
// frozen}). Everything else is left as it stands.
export function setLayerStates(text, states) {
  const lines = text.split('\n');
  const code = (i) => lines[i].trim();
  let inLayerTable = false;
  for (let i = 0; i + 1 < lines.length; i += 2) {
    if (code(i) === '0' && lines[i + 1].trim() === 'TABLE' && i + 3 < lines.length &&
        code(i + 2) === '2') {
      inLayerTable = lines[i + 3].trim() === 'LAYER';
    }
    if (code(i) === '0' && lines[i + 1].trim() === 'ENDTAB') inLayerTable = false;
    if (!inLayerTable || code(i) !== '0' || lines[i + 1].trim() !== 'LAYER') continue;
    // One entry: up to the next group 0.
    let name = null, colour = -1, flags = -1;
    let j = i + 2;
    for (; j + 1 < lines.length && code(j) !== '0'; j += 2) {
      if (code(j) === '2') name = lines[j + 1].replace(/\r$/, '');
      if (code(j) === '62') colour = j + 1;
      if (code(j) === '70') flags = j + 1;
    }
    // A layer the object model does not name (its name in another code page) is on: the
    // writer's "off" is known to be wrong.
    const state = (name !== null ? states.get(name) : undefined) ?? { off: false, frozen: null };
    {
      const end = (s) => (s.endsWith('\r') ? '\r' : '');
      if (colour >= 0) {
        const value = Math.abs(parseInt(lines[colour], 10)) || 7;
        lines[colour] = String(state.off ? -value : value).padStart(6) + end(lines[colour]);
      }
      if (flags >= 0) {
        const value = parseInt(lines[flags], 10) || 0;
        const frozen = state.frozen ?? (value & 1) !== 0;
        lines[flags] = String(frozen ? value | 1 : value & ~1).padStart(6) +
                       end(lines[flags]);
      }
    }
    i = j - 2;
  }
  return lines.join('\n');
}

async function main() {
  const [input, output] = process.argv.slice(2);
  if (!input || !output) fail('usage: dwg_to_dxf.mjs DRAWING.dwg OUT.dxf');
  let bytes;
  try {
    bytes = readFileSync(input);
  } catch (e) {
    fail(`cannot read ${input}: ${e.message}`);
  }
  const wasm = path.join(
      path.dirname(createRequire(import.meta.url).resolve('@mlightcad/libredwg-web')), '..',
      'wasm') + path.sep;
  const buffer = bytes.buffer.slice(bytes.byteOffset, bytes.byteOffset + bytes.byteLength);
  // The reader prints its own notes on standard output; they are no part of the answer.
  const log = console.log;
  console.log = () => {};
  const lib = await LibreDwg.create(wasm);
  const states = new Map();
  const data = lib.dwg_read_data(buffer, Dwg_File_Type.DWG);
  if (data === undefined || data === 0) fail('LibreDWG could not read it: it may be damaged or cut short');
  try {
    const db = lib.convert(data);
    for (const layer of db.tables?.LAYER?.entries ?? []) {
      states.set(layer.name, { off: !!layer.off, frozen: !!layer.frozen });
    }
  } finally {
    lib.dwg_free(data);
  }
  const dxf = lib.dwg_write_dxf(buffer);
  console.log = log;
  if (!dxf || dxf.length === 0) fail('LibreDWG could not turn it into DXF: it may be damaged or cut short');
  // UTF-8 (R2007 and later); a file in a code page is kept byte for byte.
  let text, encoding = 'utf-8';
  try {
    text = new TextDecoder('utf-8', { fatal: true }).decode(dxf);
  } catch {
    text = Buffer.from(dxf).toString('latin1');
    encoding = 'latin1';
  }
  writeFileSync(output, Buffer.from(setLayerStates(text, states), encoding));
}

if (import.meta.url === `file://${process.argv[1]}`) {
  main().catch((e) => fail(e && e.message ? e.message : String(e)));
}

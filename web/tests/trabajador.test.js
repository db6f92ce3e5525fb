// The page's worker under Node, message in and answer out, on the core in build/wasm: what it
// does before reading a file, and how it goes on after a call that blows up inside it.
//   node --test web/tests/    (after scripts/web --construir)
// TR4TOOL as for nucleo.test.js: the sample level is written by the tool beside it.
import { before, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { existsSync, mkdtempSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';

const raiz = path.resolve(import.meta.dirname, '../..');
const rutaNucleo = path.join(raiz, 'build/wasm/tr4nucleo.wasm');
const tr4tool = process.env.TR4TOOL ?? path.join(raiz, 'build/test/tools/tr4tool');
const escritor = path.join(path.dirname(tr4tool), '../tests/fixtures/tr4muestra');
const falta = !existsSync(rutaNucleo)
  ? 'no está build/wasm/tr4nucleo.wasm: scripts/web --construir'
  : !existsSync(escritor)
    ? `no está ${escritor}: compílalo con cmake --preset test`
    : false;

const directorio = mkdtempSync(path.join(tmpdir(), 'tr4trabajador-'));
process.on('exit', () => rmSync(directorio, { recursive: true, force: true }));

// What a worker has that Node lacks: its two message ends, and a fetch that reads the core
// from beside the page (Node's fetch reads no file: address).
const respuestas = [];
let siguiente = 0;
async function pedir(orden, datos = {}) {
  const id = ++siguiente;
  await globalThis.onmessage({ data: { id, orden, ...datos } });
  return respuestas.find((r) => r.id === id);
}

before(async () => {
  if (falta) return;
  globalThis.postMessage = (respuesta) => respuestas.push(respuesta);
  globalThis.onmessage = null;
  globalThis.fetch = async (url) =>
    new Response(readFileSync(new URL(url)), { headers: { 'content-type': 'application/wasm' } });
  await import('../src/trabajador.js');
  await pedir('idioma', { ingles: false });
});

function muestra() {
  const ruta = path.join(directorio, 'muestra.tr4');
  if (!existsSync(ruta)) execFileSync(escritor, [ruta]);
  return new File([readFileSync(ruta)], 'muestra.tr4');
}

// A file as the page hands it over, that says whether anything read its bytes.
function archivoVigilado(tamano) {
  const vigilado = { name: 'enorme.tr4', size: tamano, leido: false };
  vigilado.arrayBuffer = async () => {
    vigilado.leido = true;
    return new ArrayBuffer(16);
  };
  return vigilado;
}

test('un archivo demasiado grande se rechaza por su tamaño sin leerlo', { skip: falta }, async () => {
  assert.ok((await pedir('abrir', { archivo: muestra() })).ok);
  for (const tamano of [300 * 2 ** 20, 2 ** 40]) {
    const enorme = archivoVigilado(tamano);
    const r = await pedir('abrir', { archivo: enorme });
    assert.equal(r.ok, false);
    assert.equal(r.motivo, `mide ${tamano} bytes, demasiado para ser un nivel`);
    assert.equal(enorme.leido, false, `${tamano} bytes leídos antes de preguntar por el tamaño`);
  }
  // The level open before is still there.
  assert.ok((await pedir('exportar', { tipo: 3, numero: 0 })).ok);
});

test('tras un fallo dentro del trabajador el nivel abierto sigue abierto', { skip: falta }, async () => {
  assert.ok((await pedir('abrir', { archivo: muestra() })).ok);
  const antes = await pedir('exportar', { tipo: 1, numero: 1 });
  assert.ok(antes.ok, antes.motivo);
  // An order the worker does not know throws inside it, as a trap of the core does: the core
  // is made anew, and the level that was open is opened again in it.
  const roto = await pedir('no-existe');
  assert.equal(roto.ok, false);
  // Said as what it was, not as the browser out of memory.
  assert.match(roto.fallo ?? '', /is not a function/, JSON.stringify(roto));
  assert.equal(roto.sinMemoria, undefined);
  const despues = await pedir('exportar', { tipo: 1, numero: 1 });
  assert.ok(despues.ok, despues.motivo);
  assert.deepEqual(despues.glb, antes.glb);
  // And the next file opens in the new core.
  const otra = await pedir('abrir', { archivo: muestra() });
  assert.ok(otra.ok, otra.motivo);
  assert.equal(otra.indice.meshes, 6);
});

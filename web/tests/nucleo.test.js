// The core's WebAssembly module under Node's own WASI: what the page shows must be what the
// command line says and writes, level for level, reason for reason, byte for byte.
//   node --test web/tests/
// TR4TOOL (the native tr4tool), TR4_CATALOGO (the damaged levels, written by danados_test with
// TR4_GUARDAR_CATALOGO) and the real levels in ../shared/levels are used when present.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync, spawnSync } from 'node:child_process';
import { existsSync, mkdirSync, mkdtempSync, readdirSync, readFileSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { createRequire } from 'node:module';
import { WASI } from 'node:wasi';
import { Nucleo, Tipo } from '../src/nucleo.js';
import { wasiMinimo } from '../src/wasi.js';
import { falloDe, motivoDe } from '../src/fallos.js';
import { textos } from '../src/textos.js';

const raiz = path.resolve(import.meta.dirname, '../..');
const rutaNucleo = process.env.TR4_NUCLEO ?? path.join(raiz, 'build/wasm/tr4nucleo.wasm');
const tr4tool = process.env.TR4TOOL ?? path.join(raiz, 'build/test/tools/tr4tool');
const niveles = path.join(raiz, '../shared/levels');
const catalogo = process.env.TR4_CATALOGO;
const hayTool = existsSync(tr4tool);
const reales = existsSync(niveles) ? readdirSync(niveles).filter((n) => n.endsWith('.tr4')).sort() : [];
const modulo = new WebAssembly.Module(readFileSync(rutaNucleo));

function conWasiDeNode() {
  const wasi = new WASI({ version: 'preview1', env: {}, returnOnExit: true });
  const instancia = new WebAssembly.Instance(modulo, wasi.getImportObject());
  wasi.initialize(instancia);
  return new Nucleo(instancia);
}

function conWasiPropio() {
  const wasi = wasiMinimo();
  const instancia = new WebAssembly.Instance(modulo, wasi.importaciones);
  wasi.iniciar(instancia);
  return new Nucleo(instancia);
}

// tr4tool with a language: { salida, errores, estado }.
function herramienta(args, ingles = false) {
  const r = spawnSync(tr4tool, args, {
    env: { ...process.env, LC_ALL: '', LC_MESSAGES: '', LANG: ingles ? 'en_US.UTF-8' : 'C' },
    encoding: 'buffer',
  });
  return { salida: r.stdout, errores: r.stderr.toString(), estado: r.status };
}

// The JSON chunk of a .glb, and its binary chunk.
function jsonDeGlb(glb) {
  return partesDeGlb(glb).json;
}
function partesDeGlb(glb) {
  const v = new DataView(glb.buffer, glb.byteOffset, glb.byteLength);
  assert.equal(v.getUint32(0, true), 0x46546c67, 'magic glTF');
  const largo = v.getUint32(12, true);
  const json = JSON.parse(new TextDecoder().decode(glb.subarray(20, 20 + largo)));
  // A model with nothing to draw (a level of no rooms) has no binary chunk.
  const bin = 20 + largo < glb.length ? glb.subarray(28 + largo, 28 + largo + v.getUint32(20 + largo, true)) : new Uint8Array(0);
  return { json, bin };
}

// Two numbers alike but for the last bits of a float: the module's sine and cosine are not
// the native C library's, so a turned node may differ there.
const parecidos = (a, b) => Math.abs(a - b) <= 1e-5 * Math.max(1, Math.abs(a), Math.abs(b));

function mismaEstructura(a, b, donde) {
  if (typeof a === 'number' && typeof b === 'number') {
    assert.ok(parecidos(a, b), `${donde}: ${a} frente a ${b}`);
  } else if (a && typeof a === 'object') {
    assert.equal(typeof b, 'object', donde);
    assert.deepEqual(Object.keys(a), Object.keys(b ?? {}), donde);
    for (const k of Object.keys(a)) mismaEstructura(a[k], b[k], `${donde}.${k}`);
  } else {
    assert.equal(a, b, donde);
  }
}

// The same model: the same nodes, meshes, materials and accessors, float data alike to the last
// bits, everything else (indices, colours, the PNG pages) byte for byte.
function mismoModelo(nuestro, nativo, donde) {
  const a = partesDeGlb(nuestro);
  const b = partesDeGlb(nativo);
  mismaEstructura(a.json, b.json, donde);
  assert.equal(a.bin.length, b.bin.length, `${donde}: binario`);
  const flotantes = new Set();
  for (const acc of a.json.accessors ?? [])
    if (acc.componentType === 5126) flotantes.add(acc.bufferView);
  (a.json.bufferViews ?? []).forEach((vista, i) => {
    const inicio = vista.byteOffset ?? 0;
    const x = a.bin.subarray(inicio, inicio + vista.byteLength);
    const y = b.bin.subarray(inicio, inicio + vista.byteLength);
    if (!flotantes.has(i)) {
      assert.ok(Buffer.from(x).equals(Buffer.from(y)), `${donde}: vista ${i}`);
      return;
    }
    const fx = new Float32Array(x.slice().buffer);
    const fy = new Float32Array(y.slice().buffer);
    for (let k = 0; k < fx.length; k++) assert.ok(parecidos(fx[k], fy[k]), `${donde}: vista ${i}[${k}] ${fx[k]} frente a ${fy[k]}`);
  });
}

function validador() {
  try {
    return createRequire(path.join(raiz, 'tools/validador/package.json'))('gltf-validator');
  } catch {
    return null;
  }
}

const directorio = mkdtempSync(path.join(tmpdir(), 'tr4nucleo-'));
process.on('exit', () => rmSync(directorio, { recursive: true, force: true }));

// A small level of our own, so the tests that need one run without the real levels; `cual`
// another of the fixtures tr4muestra writes (logica, sonoro).
function muestra(cual = '') {
  const ruta = path.join(directorio, `muestra${cual}.tr4`);
  const escritor = path.join(path.dirname(tr4tool), '../tests/fixtures/tr4muestra');
  if (!existsSync(ruta)) execFileSync(escritor, cual ? [ruta, cual] : [ruta]);
  return ruta;
}

const sinTool = hayTool ? false : `no está ${tr4tool}: compílalo con cmake --preset test`;

test('resumen, índice y glb son los de tr4tool, nivel a nivel', { skip: sinTool }, async (t) => {
  const nucleo = conWasiDeNode();
  const rutas = [muestra(), muestra('logica'), muestra('sonoro'), ...reales.map((n) => path.join(niveles, n))];
  if (reales.length === 0) t.diagnostic(`sin niveles reales en ${niveles}: solo la muestra`);
  const validar = validador();
  if (!validar) t.diagnostic('sin el validador glTF en tools/validador: scripts/setup lo instala');
  for (const ruta of rutas) {
    for (const ingles of [false, true]) {
      nucleo.idioma(ingles);
      const r = nucleo.abrir(readFileSync(ruta));
      assert.ok(r.ok, `${ruta}: ${r.motivo}`);
      assert.equal(r.indice.resumen, herramienta(['info', ruta], ingles).salida.toString(), ruta);
    }
    const info = JSON.parse(herramienta(['info', ruta, '--json']).salida);
    const r = nucleo.abrir(readFileSync(ruta));
    assert.equal(r.indice.meshes, info.meshes);
    const objetos = JSON.parse(herramienta(['objects', ruta, '--json']).salida);
    assert.deepEqual(r.indice.movibles.map((m) => m.id), objetos.moveables.map((m) => m.id));
    assert.deepEqual(r.indice.estaticos.map((e) => e.id), objetos.statics.map((e) => e.id));

    // The level, a moveable and a mesh: the file `tr4tool export` writes.
    const casos = [[Tipo.NIVEL, 0, ['--level']], [Tipo.MESH, 0, ['--mesh', '0']]];
    if (r.indice.lara) casos.push([Tipo.LARA, 0, ['--object', '0', '--meshes-from', '8', '--animations', 'all']]);
    if (r.indice.movibles.length) {
      const id = r.indice.movibles.at(-1).id;
      casos.push([Tipo.MOVIBLE, id, ['--object', String(id), '--animations', 'all']]);
    }
    for (const [tipo, numero, opciones] of casos) {
      const salida = path.join(directorio, `exportado-${tipo}.glb`);
      const nativo = herramienta(['export', ruta, ...opciones, '--out', salida]);
      assert.equal(nativo.estado, 0, nativo.errores);
      const m = nucleo.exportar(tipo, numero);
      assert.ok(m.ok, m.motivo);
      mismoModelo(m.glb, new Uint8Array(readFileSync(salida)), `${path.basename(ruta)} ${opciones.join(' ')}`);
    }
    if (validar) {
      const informe = await validar.validateBytes(nucleo.exportar(Tipo.NIVEL).glb, { maxIssues: 0 });
      assert.equal(informe.issues.numErrors, 0, JSON.stringify(informe.issues.messages.slice(0, 5)));
    }

    // The pages, as `tr4tool pages` writes them.
    const carpeta = path.join(directorio, 'paginas');
    rmSync(carpeta, { recursive: true, force: true });
    mkdirSync(carpeta);
    const paginas = herramienta(['pages', ruta, '--out', carpeta]);
    // A level of no pages: none to write, and none in the core.
    if (nucleo.paginas() === 0) assert.ok(paginas.estado !== 0 && !nucleo.pagina(0).ok, paginas.errores);
    else assert.equal(paginas.estado, 0, paginas.errores);
    const archivos = readdirSync(carpeta).sort();
    assert.equal(archivos.length, nucleo.paginas());
    archivos.forEach((a, i) => assert.ok(Buffer.from(nucleo.pagina(i).png).equals(readFileSync(path.join(carpeta, a))), a));

    // The sounds, as `tr4tool sounds --json` lists them; each readable sample as stored.
    const sonidos = JSON.parse(herramienta(['sounds', ruta, '--json']).salida);
    const s = nucleo.sonidos();
    assert.ok(s.ok, s.motivo);
    assert.deepEqual(
      s.sonidos.sonidos,
      sonidos.sounds.filter((x) => !x.detail_missing).map((x) => ({ id: x.id, muestras: x.samples })),
    );
    assert.deepEqual(s.sonidos.muestras.map((m) => m.legible), sonidos.samples.map((m) => m.readable));
    // Each animation's sound commands at their frames, as `tr4tool animations` lists them.
    const animaciones = JSON.parse(herramienta(['animations', ruta, '--json']).salida);
    for (const m of animaciones.moveables)
      for (const a of m.animations) {
        const esperado = a.playable
          ? a.commands.filter((c) => c.type === 5).map((c) => ({ cuadro: c.args[0] - a.first_frame, id: c.args[1] & 0x3fff }))
              .filter((c) => c.cuadro >= 0 && c.cuadro < a.frames)
          : [];
        const obtenido = nucleo.sonidosAnimacion(a.index).sonidos;
        const orden = (x, y) => x.cuadro - y.cuadro || x.id - y.id;
        assert.deepEqual(obtenido.sort(orden), esperado.sort(orden), `animación ${a.index}`);
      }
    // Each readable sample as the browser can decode it: PCM as stored, anything else (MS-ADPCM)
    // as the PCM WAVE `tr4tool sounds --out` writes of it, byte for byte.
    const ondas = path.join(directorio, 'ondas');
    rmSync(ondas, { recursive: true, force: true });
    mkdirSync(ondas);
    assert.equal(herramienta(['sounds', ruta, '--out', ondas]).estado, 0);
    sonidos.samples.forEach((m, i) => {
      const w = nucleo.muestra(i);
      assert.equal(w.ok, m.readable, w.motivo);
      if (!w.ok) return;
      assert.equal(new TextDecoder().decode(w.wave.subarray(0, 4)), 'RIFF');
      if (m.format === 1) assert.equal(w.wave.length, m.stored_size);
      else {
        assert.equal(w.wave.length, 44 + m.pcm_bytes, `muestra ${i}`);
        assert.ok(Buffer.from(w.wave).equals(readFileSync(path.join(ondas, `muestra_${String(i).padStart(3, '0')}.wav`))), `muestra ${i}`);
      }
    });
    if (path.basename(ruta) === 'muestrasonoro.tr4') assert.equal(sonidos.samples[1].format, 2, 'la muestra 1 no es MS-ADPCM');

    // The level's logic: the records `tr4tool triggers --json` writes, each trigger's line as its
    // text output prints it (in English: the level was last opened in it, and its warnings with it).
    const disparadores = herramienta(['triggers', ruta, '--json'], true);
    const l = nucleo.logica();
    assert.ok(l.ok, l.motivo);
    assert.deepEqual(l.logica, JSON.parse(disparadores.salida));
    assert.equal(l.textos.length, l.logica.triggers.length);
    const texto = herramienta(['triggers', ruta], true).salida.toString();
    for (const linea of l.textos) assert.ok(texto.includes(linea), linea);
  }
});

// The comparison above holds both sides to the same shared code, so a fault in it passes there.
// Here the sample level against what its writer put in it, worked out by hand: six meshes, one
// moveable (id 1: the pyramid on the crate, 256 units up and turned an eighth of a turn about
// y), one static (id 10), two rooms, two pages, 512 units to the model's metre.
test('la muestra da lo que su escritor puso en ella', { skip: sinTool }, () => {
  const nucleo = conWasiDeNode();
  nucleo.idioma(false);
  const r = nucleo.abrir(readFileSync(muestra()));
  assert.ok(r.ok, r.motivo);
  assert.equal(r.indice.meshes, 6);
  assert.deepEqual(r.indice.movibles.map((m) => m.id), [1]);
  assert.deepEqual(r.indice.estaticos.map((e) => e.id), [10]);
  assert.equal(nucleo.paginas(), 2);
  for (const linea of ['Páginas de textura:   2', 'Cuartos:              2', 'Movibles:             1', 'Meshes estáticos:     1', 'Items:                2'])
    assert.ok(r.indice.resumen.split('\n').includes(linea), linea);

  // Mesh 0, the crate: a box from (-128, 0, -128) to (128, 256, 128), six faces of four corners
  // each, unshared, two triangles a face.
  const caja = partesDeGlb(nucleo.exportar(Tipo.MESH, 0).glb).json;
  const posiciones = caja.meshes[0].primitives.map((p) => caja.accessors[p.attributes.POSITION]);
  // (+ 0: the floor's y may be written -0.)
  assert.deepEqual(posiciones.map((a) => [a.min, a.max].map((v) => v.map((x) => x + 0))), [[[-0.25, 0, -0.25], [0.25, 0.5, 0.25]]]);
  assert.equal(posiciones[0].count, 24);
  assert.equal(caja.meshes[0].primitives.reduce((n, p) => n + caja.accessors[p.indices].count, 0), 36);

  // The moveable: the pyramid's node hangs from the crate's, 0.5 up, turned 45 degrees about y;
  // with x mirrored into the model, the turn goes the other way: (0, -sin 22.5, 0, cos 22.5).
  const movible = partesDeGlb(nucleo.exportar(Tipo.MOVIBLE, 1).glb).json;
  assert.deepEqual(movible.nodes.map((n) => n.name), ['movible_1', 'mesh_0', 'mesh_1']);
  assert.deepEqual(movible.nodes[1].children, [2]);
  assert.deepEqual(movible.nodes[2].translation, [0, 0.5, 0]);
  const giro = [0, -Math.sin(Math.PI / 8), 0, Math.cos(Math.PI / 8)];
  movible.nodes[2].rotation.forEach((v, i) => assert.ok(Math.abs(v - giro[i]) < 1e-6, `${v} frente a ${giro[i]}`));
});

// Past page 99 the names grow a digit, as tr4tool names the files it writes; the page takes
// each name from the core, and an export's after the level file's name.
test('los nombres de las páginas y de lo exportado, más allá de 99 páginas', { skip: sinTool }, () => {
  const ruta = muestra('paginas');
  const carpeta = path.join(directorio, 'paginas101');
  mkdirSync(carpeta, { recursive: true });
  execFileSync(tr4tool, ['pages', ruta, '--out', carpeta]);
  const escritos = readdirSync(carpeta).sort();
  const nucleo = conWasiDeNode();
  assert.ok(nucleo.abrir(readFileSync(ruta)).ok);
  assert.equal(nucleo.paginas(), 101);
  const nombres = [];
  for (let i = 0; i < nucleo.paginas(); i++) {
    assert.ok(nucleo.x.tr4_nombre_pagina(i));
    nombres.push(nucleo.texto());
  }
  assert.deepEqual(nombres.slice().sort(), escritos);
  // Each page comes with the name of its file.
  for (const [i, nombre] of [[7, 'pagina_07.png'], [99, 'pagina_99.png'], [100, 'pagina_100.png']]) {
    const p = nucleo.pagina(i);
    assert.ok(p.ok, p.motivo);
    assert.equal(p.nombre, nombre);
    assert.ok(Buffer.from(p.png).equals(readFileSync(path.join(carpeta, nombre))), nombre);
  }

  const nombre = (tipo, numero, archivo) => nucleo.nombreExportacion(tipo, numero, archivo).nombre;
  assert.equal(nombre(Tipo.MESH, 4, 'tut1.tr4'), 'tut1_mesh_4.glb');
  assert.equal(nombre(Tipo.MOVIBLE, 1, 'mi nivel.v2.tr4'), 'mi nivel.v2_movible_1.glb');
  assert.equal(nombre(Tipo.ESTATICO, 10, 'ÁREA.TR4'), 'ÁREA_estatico_10.glb');
  assert.equal(nombre(Tipo.NIVEL, 0, 'tut1'), 'tut1_nivel.glb');
  // Lara is named as Lara wherever she wears her body's meshes (moveable 8 in a TR4 level).
  assert.equal(nombre(Tipo.LARA, 0, 'tut1.tr4'), 'tut1_lara.glb');
  assert.equal(nombre(Tipo.MOVIBLE, 0, 'tut1.tr4'), 'tut1_movible_0.glb');
  // Every choice the page names is one the core knows, each its own; a name it lacks is the level.
  const valores = Object.values(Tipo).map((t) => nucleo.elegido(t));
  assert.ok(valores.every((v) => v >= 0), String(valores));
  assert.equal(new Set(valores).size, valores.length);
  assert.equal(nombre('todo', 0, 'tut1'), 'tut1_todo.glb');
  assert.equal(nombre('cuarto', 0, 'tut1'), 'tut1_nivel.glb');
});

test('Lara lleva los meshes del movible 8 sin cambiar el movible 0', { skip: !reales.includes('title-a.tr4') && 'sin title-a.tr4' }, () => {
  const nucleo = conWasiDeNode();
  const r = nucleo.abrir(readFileSync(path.join(niveles, 'title-a.tr4')));
  assert.ok(r.indice.lara);
  const mallas = (tipo, numero) => jsonDeGlb(nucleo.exportar(tipo, numero).glb).nodes.map((n) => n.name).filter((n) => n.startsWith('mesh_'));
  const propias = mallas(Tipo.MOVIBLE, 0);
  const cuerpo = mallas(Tipo.MOVIBLE, 8);
  assert.deepEqual(mallas(Tipo.LARA, 0), cuerpo);
  assert.notDeepEqual(propias, cuerpo);
  // Dressed for the call only.
  assert.deepEqual(mallas(Tipo.MOVIBLE, 0), propias);
  // And named for what she wears.
  assert.equal(nucleo.nombreExportacion(Tipo.LARA, 0, 'title-a.tr4').nombre, 'title-a_lara.glb');
  assert.equal(nucleo.nombreExportacion(Tipo.MOVIBLE, 0, 'title-a.tr4').nombre, 'title-a_movible_0.glb');
});

// The batches the page draws the level from (web/nucleo/LotesPagina.h): the description and
// typed views of each array.
function leerLotes(buffer) {
  const largo = new DataView(buffer).getUint32(0, true);
  const d = JSON.parse(new TextDecoder().decode(new Uint8Array(buffer, 4, largo)));
  const datos = (4 + largo + 3) & ~3;
  return {
    d,
    flotantes: (desde, n) => new Float32Array(buffer, datos + desde, n),
    indices: (desde, n) => new Uint32Array(buffer, datos + desde, n),
  };
}

test('el nivel en lotes tiene los triángulos, los materiales, los nodos y las páginas de su .glb', { skip: reales.length === 0 && 'sin niveles reales' }, () => {
  const nucleo = conWasiDeNode();
  for (const nombre of reales) {
    const r = nucleo.abrir(readFileSync(path.join(niveles, nombre)));
    assert.ok(r.ok, r.motivo);
    const { json: g } = partesDeGlb(nucleo.exportar(Tipo.NIVEL).glb);
    const n = nucleo.nivel();
    assert.ok(n.ok, n.motivo);
    const { d, flotantes, indices } = leerLotes(n.lotes);

    // Each top-level node of the .glb: its name, its indices by material, and for a room (its
    // vertices where the world has them) the box its positions' bounds make.
    const nodos = [];
    for (const raiz of g.scenes[0].nodes) {
      const porMaterial = new Map();
      let caja = null;
      const recorrer = (i) => {
        const nodo = g.nodes[i];
        for (const p of nodo.mesh === undefined ? [] : g.meshes[nodo.mesh].primitives) {
          porMaterial.set(p.material, (porMaterial.get(p.material) ?? 0) + g.accessors[p.indices].count);
          const pos = g.accessors[p.attributes.POSITION];
          caja = caja ? [caja[0].map((v, k) => Math.min(v, pos.min[k])), caja[1].map((v, k) => Math.max(v, pos.max[k]))] : [pos.min, pos.max];
        }
        for (const h of nodo.children ?? []) recorrer(h);
      };
      recorrer(raiz);
      if (porMaterial.size) nodos.push({ nombre: g.nodes[raiz].name, porMaterial, caja });
    }
    assert.deepEqual(d.nodos.map((x) => x.nombre), nodos.map((x) => x.nombre), nombre);
    assert.equal(d.materiales.length, g.materials.length);
    for (const [k, m] of g.materials.entries()) {
      const mezcla = { MASK: 1, BLEND: 2 }[m.alphaMode] ?? 0;
      assert.deepEqual([d.materiales[k].doble, d.materiales[k].mezcla], [!!m.doubleSided, mezcla], `${nombre}: ${m.name}`);
      // Its page, by the number the material's name carries (the additive stand-in's too).
      const pagina = /^pagina_(\d+)/.exec(m.name);
      assert.equal(d.materiales[k].pagina, pagina ? Number(pagina[1]) : -1, m.name);
    }
    for (const [i, x] of d.nodos.entries()) {
      const esperado = nodos[i];
      const lotes = new Map(x.tramos.map(([lote, , cuantos]) => [d.lotes[lote].material, cuantos]));
      assert.deepEqual(lotes, esperado.porMaterial, `${nombre}: ${x.nombre}`);
      if (x.nombre.startsWith('cuarto_'))
        for (const k of [0, 1, 2]) {
          assert.ok(Math.abs(x.minimo[k] - esperado.caja[0][k]) < 1e-4, `${x.nombre} ${x.minimo} ${esperado.caja[0]}`);
          assert.ok(Math.abs(x.maximo[k] - esperado.caja[1][k]) < 1e-4, `${x.nombre} ${x.maximo} ${esperado.caja[1]}`);
        }
    }
    // Every batch's ranges, one after another, cover it whole; every index names a vertex of
    // its batch; the positions of a node's range stay in its box.
    for (const [i, l] of d.lotes.entries()) {
      const tramos = d.nodos.flatMap((x) => x.tramos.filter(([lote]) => lote === i).map(([, inicio, cuantos]) => [inicio, cuantos, x]));
      tramos.sort((a, b) => a[0] - b[0]);
      let fin = 0;
      for (const [inicio, cuantos] of tramos) {
        assert.equal(inicio, fin, `${nombre}: lote ${i}`);
        fin += cuantos;
      }
      assert.equal(fin, l.indices, `${nombre}: lote ${i}`);
      const ind = indices(l.triangulos, l.indices);
      assert.ok(ind.every((v) => v < l.vertices), `${nombre}: lote ${i}: índice fuera`);
      const pos = flotantes(l.posiciones, l.vertices * 3);
      for (const [inicio, cuantos, x] of tramos)
        for (let j = inicio; j < inicio + cuantos; j += 97)
          for (const k of [0, 1, 2]) {
            const v = pos[ind[j] * 3 + k];
            assert.ok(v >= x.minimo[k] - 1e-4 && v <= x.maximo[k] + 1e-4, `${nombre}: ${x.nombre} fuera de su caja`);
          }
    }
    // Every page a material shows travels with the batches, once, whole, its texels the level's
    // (their colours against the .glb's are checked by pixels in pagina.test.js).
    const usadas = [...new Set(d.materiales.filter((m) => m.pagina >= 0).map((m) => m.pagina))].sort((a, b) => a - b);
    assert.deepEqual(d.paginas, usadas, nombre);
    assert.equal(n.texels.length, d.paginas.length);
    for (const t of n.texels) assert.equal(t.byteLength, 256 * 256 * 4);
    assert.ok(n.texels.every((t) => new Uint8Array(t).some((v) => v !== 0)), `${nombre}: una página sin texels`);
  }
});

// Where the level view opens: behind Lara's start (3 m back, 1 m up from her chest, or nearer
// where a wall stands behind her), or, in a level without her, round the rooms that have light.
test('la vista inicial está detrás de Lara, o abarca los cuartos con luz', { skip: reales.length === 0 && sinTool }, () => {
  const nucleo = conWasiDeNode();
  for (const ruta of [...reales.map((n) => path.join(niveles, n)), ...(hayTool ? [muestra()] : [])]) {
    const { indice } = nucleo.abrir(readFileSync(ruta));
    const nombre = path.basename(ruta);
    if (nombre === 'muestra.tr4') {
      // Its one item is moveable 1, not Lara.
      assert.equal(indice.inicio, null);
      assert.ok(indice.iluminados.length > 0 && indice.iluminados.every((c) => indice.cuartos.includes(c)), JSON.stringify(indice.iluminados));
      continue;
    }
    assert.ok(indice.inicio, `${nombre}: sin vista de inicio`);
    assert.deepEqual(indice.iluminados, []);
    const [dx, dy, dz] = indice.inicio.ojo.map((v, k) => v - indice.inicio.pivote[k]);
    const atras = Math.hypot(dx, dz);
    assert.ok(atras > 0.2 && atras <= 3 + 1e-6, `${nombre}: el ojo a ${atras} m detrás`);
    assert.ok(Math.abs(dy / atras - 1 / 3) < 1e-4, `${nombre}: el ojo sube ${dy} m en ${atras}`);
  }
});

test('cada nivel dañado del catálogo da la razón de tr4tool y deja el abierto', { skip: !(hayTool && catalogo) && 'sin TR4TOOL o sin TR4_CATALOGO' }, () => {
  const nucleo = conWasiDeNode();
  const previo = nucleo.abrir(readFileSync(muestra()));
  assert.ok(previo.ok);
  const glbPrevio = nucleo.exportar(Tipo.MESH, 0).glb;
  const archivos = readdirSync(catalogo).filter((n) => n.endsWith('.tr4'));
  assert.ok(archivos.length > 40, `${archivos.length} archivos en ${catalogo}`);
  let refusados = 0;
  for (const nombre of archivos) {
    const ruta = path.join(catalogo, nombre);
    for (const ingles of [false, true]) {
      nucleo.idioma(ingles);
      const r = nucleo.abrir(readFileSync(ruta));
      const nativo = herramienta(['info', ruta], ingles);
      if (nativo.estado === 0) {
        assert.ok(r.ok, `${nombre}: ${r.motivo}`);
        assert.equal(r.indice.resumen, nativo.salida.toString(), nombre);
        // Its damaged samples and floor data: decoded or refused as the command line does,
        // each sector asked for, nothing read past.
        const sonidos = JSON.parse(herramienta(['sounds', ruta, '--json'], ingles).salida);
        sonidos.samples.forEach((m, i) => {
          const w = nucleo.muestra(i);
          assert.equal(w.ok, m.readable, `${nombre} muestra ${i}: ${w.motivo}`);
          if (!w.ok) assert.equal(w.motivo, m.reason_text, `${nombre} muestra ${i}`);
        });
        const l = nucleo.logica();
        assert.deepEqual(l.logica, JSON.parse(herramienta(['triggers', ruta, '--json'], ingles).salida), nombre);
        for (const c of l.logica.rooms)
          for (let x = 0; x < 64; x++) if (!nucleo.sector(c.index, x, 0).ok) break;
        nucleo.abrir(readFileSync(muestra()));
        continue;
      }
      assert.ok(!r.ok, `${nombre} se abrió`);
      assert.equal(`tr4tool: ${ruta}: ${r.motivo}\n`, nativo.errores, nombre);
      refusados += 1;
      // The level open before is still the one the core exports.
      assert.ok(Buffer.from(nucleo.exportar(Tipo.MESH, 0).glb).equals(glbPrevio), nombre);
    }
  }
  assert.ok(refusados > 40);
});

// A call that blows up is out of memory only when it was: the core marks a failed allocation
// before it traps, and the page says so then alone; any other fault keeps its own message.
test('un fallo se nombra por lo que fue: sin memoria solo cuando lo es', { skip: sinTool }, () => {
  const t = textos(false);
  const casos = [
    [{ ok: false, motivo: 'no hay página 3' }, 'no hay página 3'],
    [{ ok: false, ilegible: 'NotReadableError' }, 'el navegador no puede leerlo: NotReadableError'],
    [{ ok: false, sinMemoria: true }, 'no hay memoria suficiente en el navegador para él'],
    [{ ok: false, fallo: 'unreachable' }, 'el visor falló: unreachable'],
    [{ ok: false, motivo: '' }, 'el visor falló: sin decir por qué'],
  ];
  for (const [r, texto] of casos) assert.equal(motivoDe(r, t), texto, JSON.stringify(r));
  assert.deepEqual(falloDe(new RangeError('Array buffer allocation failed'), null), { ok: false, sinMemoria: true });
  assert.deepEqual(falloDe(new RangeError('Invalid array length'), null), { ok: false, fallo: 'Invalid array length' });

  const nucleo = conWasiDeNode();
  assert.ok(nucleo.abrir(readFileSync(muestra())).ok);
  const sano = () => {
    try {
      nucleo.exportar(Tipo.MESH, 1e9); // a mesh the level lacks: a reason, no trap
    } catch (e) {
      return falloDe(e, nucleo);
    }
  };
  assert.equal(sano(), undefined);
  assert.deepEqual(falloDe(new TypeError('x.y is not a function'), nucleo), { ok: false, fallo: 'x.y is not a function' });
  // The module's memory taken to its last bytes, then an export that needs more.
  for (let trozo = 2 ** 26; trozo >= 16; trozo /= 4) while (nucleo.x.tr4_reservar(trozo)) ;
  let fallo;
  try {
    nucleo.exportar(Tipo.MOVIBLE, 1);
  } catch (e) {
    fallo = falloDe(e, nucleo);
  }
  assert.deepEqual(fallo, { ok: false, sinMemoria: true });
});

test('lo que no hay se rechaza con su razón, sin tocar lo abierto', () => {
  const nucleo = conWasiDeNode();
  nucleo.idioma(false);
  assert.deepEqual(nucleo.exportar(Tipo.NIVEL), { ok: false, motivo: 'no hay ningún nivel abierto' });
  assert.deepEqual(nucleo.nivel(), { ok: false, motivo: 'no hay ningún nivel abierto' });
  assert.equal(nucleo.pagina(0).motivo, 'no hay ningún nivel abierto');
  assert.equal(nucleo.sonidos().motivo, 'no hay ningún nivel abierto');
  assert.equal(nucleo.muestra(0).motivo, 'no hay ningún nivel abierto');
  assert.equal(nucleo.sonidosAnimacion(0).motivo, 'no hay ningún nivel abierto');
  // The size is judged before the file is read: 256 MiB passes, 300 MB does not.
  assert.ok(nucleo.admitirTamano(256 * 2 ** 20).ok);
  assert.deepEqual(nucleo.admitirTamano(300 * 2 ** 20), { ok: false, motivo: 'mide 314572800 bytes, demasiado para ser un nivel' });
  nucleo.idioma(true);
  assert.equal(nucleo.admitirTamano(300 * 2 ** 20).motivo, 'it is 314572800 bytes long, too big to be a level');
  nucleo.idioma(false);
  assert.equal(nucleo.abrir(new Uint8Array(0)).motivo, 'el archivo es demasiado corto para ser un nivel (0 bytes)');
  if (!hayTool) return;

  const r = nucleo.abrir(readFileSync(muestra()));
  assert.ok(r.ok);
  const antes = nucleo.exportar(Tipo.NIVEL);
  const lotesAntes = Buffer.from(nucleo.nivel().lotes);
  assert.match(nucleo.exportar(Tipo.MESH, 4e9).motivo, /^no hay mesh 4000000000; /);
  assert.match(nucleo.exportar(Tipo.MESH, -1).motivo, /^no hay mesh -1; /);
  assert.match(nucleo.exportar(Tipo.MOVIBLE, 4242).motivo, /^no hay movible con id 4242; /);
  assert.match(nucleo.exportar(Tipo.ESTATICO, 4242).motivo, /^no hay estático con id 4242; /);
  assert.equal(nucleo.pagina(-1).motivo, 'no hay página -1');
  assert.equal(nucleo.pagina(nucleo.paginas()).motivo, `no hay página ${nucleo.paginas()}`);
  assert.equal(nucleo.muestra(-1).motivo, 'no hay muestra -1');
  for (const a of [-1, 1e9, NaN]) assert.deepEqual(nucleo.sonidosAnimacion(a).sonidos, [], String(a));
  assert.equal(nucleo.muestra(1e6).motivo, 'no hay muestra 1000000');
  assert.ok(!nucleo.abrir(new TextEncoder().encode('TR4\0 esto no es un nivel')).ok);
  assert.deepEqual(nucleo.exportar(Tipo.NIVEL), antes);
  assert.ok(Buffer.from(nucleo.nivel().lotes).equals(lotesAntes));
});

// The logic fixture (EscritorNivel.h): room 0, 5 x 4 sectors from (-1024, 2048)... its sectors as
// the window's details list them, found by column and row and by a point of the model.
test('un sector y sus datos de suelo, por fila y columna o por un punto, y los grupos alternos', { skip: sinTool }, () => {
  const nucleo = conWasiDeNode();
  nucleo.idioma(false);
  assert.equal(nucleo.logica().motivo, 'no hay ningún nivel abierto');
  assert.equal(nucleo.sector(0, 0, 0).motivo, 'no hay ningún nivel abierto');
  assert.equal(nucleo.voltear(0, true).motivo, 'no hay ningún nivel abierto');
  assert.ok(nucleo.abrir(readFileSync(muestra('logica'))).ok);
  const { logica } = nucleo.logica();
  const cuarto = logica.rooms[0];
  assert.deepEqual([cuarto.alternate, cuarto.alternate_group], [1, 3]);

  // Sector 0 is a portal to room 1; every trigger's sector names that trigger.
  const portal = nucleo.sector(0, 0, 0).sector;
  assert.equal(portal.portal, 1);
  assert.equal(portal.trigger, -1);
  logica.triggers.forEach((d, i) => {
    const s = nucleo.sector(d.room, d.x, d.z).sector;
    assert.equal(s.trigger, i, `disparador ${i}`);
    assert.equal(s.trigger_text, nucleo.logica().textos[i]);
  });
  // Sector 3 (x 0, z 3): kill, climb +z and -x, monkey, trigger triggerer, beetle.
  const marcas = nucleo.sector(0, 0, 3).sector;
  assert.deepEqual([marcas.kill, marcas.climb, marcas.monkey, marcas.trigger_triggerer, marcas.beetle], [true, 1 | 8, true, true, true]);
  // Sector 2's floor and ceiling cut in two, each with its half over the room below or above.
  const cortado = nucleo.sector(0, 0, 2).sector;
  assert.ok(cortado.floor.diagonal && cortado.ceiling.diagonal, JSON.stringify(cortado));

  // A point of the model finds the sector the page frames for it: the middle of each box.
  for (const [x, z] of [[0, 0], [1, 2], [4, 3]]) {
    const s = nucleo.sector(0, x, z).sector;
    const [minimo, maximo] = s.box;
    assert.ok(maximo[1] > minimo[1] && Math.abs(maximo[0] - minimo[0] - 2) < 1e-6 && Math.abs(maximo[2] - minimo[2] - 2) < 1e-6, JSON.stringify(s.box));
    const punto = nucleo.sector(0, (minimo[0] + maximo[0]) / 2, (minimo[2] + maximo[2]) / 2, true).sector;
    assert.deepEqual([punto.x, punto.z], [x, z]);
  }
  // Outside the grid, a room or a number that is not there: a reason, never a sector.
  for (const [c, x, z, punto] of [[0, 5, 0], [0, 0, 4], [0, -1, 0], [2, 0, 0], [-1, 0, 0], [NaN, 0, 0], [0, NaN, 0], [1e12, 0, 0], [0, 1e9, 1e9, true], [0, NaN, 0, true], [0, Infinity, 0, true]])
    assert.equal(nucleo.sector(c, x, z, punto).motivo, 'no hay ningún sector ahí', `${c} ${x} ${z} ${punto}`);

  // Group 3 flipped: room 0 gives way to room 1 (which has no faces), and back.
  const cuartos = () => {
    const { lotes } = nucleo.nivel();
    const largo = new DataView(lotes).getUint32(0, true);
    return JSON.parse(new TextDecoder().decode(new Uint8Array(lotes, 4, largo))).nodos.map((n) => n.nombre).filter((n) => n.startsWith('cuarto_'));
  };
  assert.deepEqual(cuartos(), ['cuarto_0']);
  assert.ok(nucleo.voltear(2, true).ok);
  assert.deepEqual(cuartos(), ['cuarto_0'], 'otro grupo no voltea el 3');
  assert.ok(nucleo.voltear(3, true).ok);
  assert.deepEqual(cuartos(), []);
  assert.ok(nucleo.voltear(-1, false).ok);
  assert.deepEqual(cuartos(), ['cuarto_0']);
  assert.ok(nucleo.voltear(-1, true).ok);
  assert.deepEqual(cuartos(), []);
  for (const g of [256, -2, 1.5, 123456789012]) assert.equal(nucleo.voltear(g, true).motivo, `no hay grupo alterno ${g}`);
  // A level opened again starts unflipped.
  assert.ok(nucleo.abrir(readFileSync(muestra('logica'))).ok);
  assert.deepEqual(cuartos(), ['cuarto_0']);
});

test('el WASI propio de la página da lo mismo que el de Node', { skip: reales.length === 0 && sinTool }, () => {
  const bytes = readFileSync(reales.length ? path.join(niveles, reales[0]) : muestra());
  const a = conWasiDeNode();
  const b = conWasiPropio();
  const ra = a.abrir(bytes);
  const rb = b.abrir(bytes);
  assert.deepEqual(rb, ra);
  assert.deepEqual(b.exportar(Tipo.NIVEL), a.exportar(Tipo.NIVEL));
  assert.deepEqual(b.nivel(), a.nivel());
});

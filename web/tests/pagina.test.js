// The page in a real browser: Debian's chromium, headless (WebGL 2 through SwiftShader), driven
// by playwright-core, the page served by scripts/web. Opens title-a, checks what is drawn by its
// pixels, picks a mesh, an object and the level, drops damaged files, downloads the .glb. Then
// the page as one file (build/web/tr4visor.html) opened from disk, with no server.
//   node --test web/tests/pagina.test.js    (after scripts/web --construir)
// TR4TOOL and TR4_CATALOGO as for nucleo.test.js.
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { spawn, spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, readdirSync, readFileSync, rmSync, statSync, truncateSync, writeFileSync } from 'node:fs';
import { createRequire } from 'node:module';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { Tipo } from '../src/nucleo.js';

const raiz = path.resolve(import.meta.dirname, '../..');
const chromium = process.env.TR4_CHROMIUM ?? '/usr/bin/chromium';
const tr4tool = process.env.TR4TOOL ?? path.join(raiz, 'build/test/tools/tr4tool');
const tituloA = path.join(raiz, '../shared/levels/title-a.tr4');
const catalogo = process.env.TR4_CATALOGO;
const falta = !existsSync(chromium)
  ? `no está ${chromium}: scripts/setup lo instala`
  : !existsSync(path.join(raiz, 'build/web/index.html'))
    ? 'no está build/web: scripts/web --construir'
    : false;
const sinTituloA = existsSync(tituloA) ? false : `no está ${tituloA}`;
const tituloB = path.join(raiz, '../shared/levels/title-b.tr4');
const unArchivo = path.join(raiz, 'build/web/tr4visor.html');
const faltaArchivo = !existsSync(chromium)
  ? `no está ${chromium}: scripts/setup lo instala`
  : !existsSync(unArchivo)
    ? 'no está build/web/tr4visor.html: scripts/web --construir'
    : false;

let servidor, direccion, navegador, pagina;
const directorio = mkdtempSync(path.join(tmpdir(), 'tr4pagina-'));

// scripts/web serving build/web; its printed address is where the page is.
async function servir() {
  servidor = spawn(path.join(raiz, 'scripts/web'), ['--servir', String(8700 + (process.pid % 200))], {
    stdio: ['ignore', 'pipe', 'inherit'],
    detached: true,
  });
  let texto = '';
  return new Promise((resolver, rechazar) => {
    const plazo = setTimeout(() => rechazar(new Error(`scripts/web no dio su dirección: ${texto}`)), 60_000);
    servidor.stdout.on('data', (d) => {
      texto += d.toString().replace(/\x1b\[[0-9;]*m/g, '');
      const m = texto.match(/http:\/\/127\.0\.0\.1:\d+\//);
      if (m) {
        clearTimeout(plazo);
        resolver(m[0]);
      }
    });
    servidor.on('exit', (c) => rechazar(new Error(`scripts/web terminó (${c}): ${texto}`)));
  });
}

before(async () => {
  if (falta && faltaArchivo) return;
  if (!falta) direccion = await servir();
  const { chromium: lanzador } = await import('playwright-core');
  navegador = await lanzador.launch({
    executablePath: chromium,
    args: ['--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--ignore-gpu-blocklist'],
  });
  const contexto = await navegador.newContext({ locale: 'es-ES', viewport: { width: 1280, height: 800 }, acceptDownloads: true });
  pagina = await contexto.newPage();
  pagina.on('pageerror', (e) => console.error('página:', e.message));
});

after(async () => {
  await navegador?.close();
  if (servidor) process.kill(-servidor.pid);
  rmSync(directorio, { recursive: true, force: true });
});

const estado = () => pagina.evaluate(() => document.body.dataset.estado);
async function esperar(...estados) {
  await pagina.waitForFunction((e) => e.includes(document.body.dataset.estado), estados, { timeout: 120_000 });
  return estado();
}

// Opens a file as a drop on the page would: a DataTransfer with the file, dropped on the view.
async function soltar(ruta, p = pagina) {
  const datos = readFileSync(ruta).toString('base64');
  const transferencia = await p.evaluateHandle(
    ([b64, nombre]) => {
      const bytes = Uint8Array.from(atob(b64), (c) => c.charCodeAt(0));
      const dt = new DataTransfer();
      dt.items.add(new File([bytes], nombre));
      return dt;
    },
    [datos, path.basename(ruta)],
  );
  await p.evaluate(() => (document.body.dataset.estado = 'soltando'));
  await p.dispatchEvent('#vista', 'drop', { dataTransfer: transferencia });
}

// The damaged files a page must refuse, each with tr4tool's reason: the catalogue's when there is
// one and a tr4tool to ask, else an empty file.
function danados() {
  const casos = [];
  if (catalogo && existsSync(tr4tool)) {
    for (const n of readdirSync(catalogo).filter((n) => n.endsWith('.tr4')).sort()) {
      const ruta = path.join(catalogo, n);
      const r = spawnSync(tr4tool, ['info', ruta], { env: { ...process.env, LANG: 'C', LC_ALL: '' }, encoding: 'utf8' });
      if (r.status !== 0) casos.push([ruta, r.stderr.slice(`tr4tool: ${ruta}: `.length).trimEnd()]);
    }
  } else {
    const vacio = path.join(directorio, 'vacio.tr4');
    writeFileSync(vacio, '');
    casos.push([vacio, 'el archivo es demasiado corto para ser un nivel (0 bytes)']);
  }
  return casos;
}

// What the canvas shows: how many colours (to 5 bits a channel) and the share of pixels that
// are not the background.
function lienzo(p = pagina) {
  return p.evaluate(() => {
    const c = document.getElementById('lienzo');
    const copia = Object.assign(document.createElement('canvas'), { width: c.width, height: c.height });
    const g = copia.getContext('2d');
    g.drawImage(c, 0, 0);
    const p = g.getImageData(0, 0, c.width, c.height).data;
    const colores = new Set();
    let fondo = 0;
    for (let i = 0; i < p.length; i += 4) {
      colores.add(((p[i] >> 3) << 10) | ((p[i + 1] >> 3) << 5) | (p[i + 2] >> 3));
      if (p[i] === 0x20 && p[i + 1] === 0x24 && p[i + 2] === 0x28) fondo++;
    }
    return { colores: colores.size, lleno: 1 - fondo / (p.length / 4), huella: Array.from(p.subarray(0, p.length)).filter((_, i) => i % 4096 === 0).join() };
  });
}

// Lara in the frame, by pixels: the canvas drawn with her alone (the first item of moveable 0)
// against the canvas as it is, the level on show. Her pixels, how many; whether any touches the canvas's edge; the
// share of them the whole scene draws the same (the rest stands hidden behind something).
function laraEnCuadro(p = pagina) {
  return p.evaluate(() => {
    const v = window.tr4Visor;
    const c = document.getElementById('lienzo');
    const copia = Object.assign(document.createElement('canvas'), { width: c.width, height: c.height });
    const g = copia.getContext('2d', { willReadFrequently: true });
    const leer = () => {
      v.dibujar();
      g.drawImage(c, 0, 0);
      return g.getImageData(0, 0, c.width, c.height).data;
    };
    const todo = leer();
    // The level is drawn in batches: each drawn only over her range of indices in it.
    const tramos = v.tramos?.get('movible_0');
    if (!tramos) return { pixeles: 0, borde: false, vistos: 0 };
    const lotes = v.modelo.children;
    for (const [i, l] of lotes.entries()) {
      const tramo = tramos.find(([lote]) => lote === i);
      l.visible = !!tramo;
      if (tramo) l.geometry.setDrawRange(tramo[1], tramo[2]);
    }
    const sola = leer();
    for (const l of lotes) {
      l.visible = true;
      l.geometry.setDrawRange(0, Infinity);
    }
    v.dibujar();
    let pixeles = 0, iguales = 0, borde = false;
    for (let i = 0; i < sola.length; i += 4) {
      if (sola[i] === 0x20 && sola[i + 1] === 0x24 && sola[i + 2] === 0x28) continue;
      pixeles++;
      const x = (i / 4) % c.width, y = Math.floor(i / 4 / c.width);
      if (x === 0 || y === 0 || x === c.width - 1 || y === c.height - 1) borde = true;
      if (sola[i] === todo[i] && sola[i + 1] === todo[i + 1] && sola[i + 2] === todo[i + 2]) iguales++;
    }
    return { pixeles, borde, vistos: pixeles ? iguales / pixeles : 0 };
  });
}

// The entries of the object tree marked as on show.
const marcados = () => pagina.locator('#arbol button[aria-pressed=true]').allTextContents();

// Clicks an entry of the object tree, whether or not its group is unfolded.
async function elegir(tipo, numero) {
  await pagina.evaluate(() => (document.body.dataset.estado = 'eligiendo'));
  await pagina.locator(`#arbol button[data-tipo="${tipo}"][data-numero="${numero}"]`).first().evaluate((b) => b.click());
  return esperar('listo', 'error');
}

test('title-a se abre, se dibuja texturizado y se recorre', { skip: falta || sinTituloA }, async (t) => {
  await pagina.goto(direccion);
  assert.equal(await estado(), 'vacio');
  assert.equal(await pagina.locator('input[type=file]').count(), 1);
  assert.equal(await pagina.locator('canvas').count(), 1);
  await pagina.waitForFunction(() => document.body.dataset.nucleo === 'listo');

  await pagina.setInputFiles('input[type=file]', tituloA);
  assert.equal(await esperar('listo', 'error'), 'listo');
  const medidas = await pagina.evaluate(() => window.tr4Medidas);
  t.diagnostic(`title-a: primer cuadro ${medidas.primerCuadro.toFixed(0)} ms (abrir ${medidas.abrir.toFixed(0)}, exportar ${medidas.exportar.toFixed(0)}, dibujar ${medidas.dibujo.toFixed(0)})`);
  // TR4_CAPTURA=FILE.png keeps a picture of the page as it is now (the README's).
  if (process.env.TR4_CAPTURA) await pagina.screenshot({ path: process.env.TR4_CAPTURA });
  assert.match(await pagina.textContent('#resumen'), /Cuartos:\s+42\n/);
  assert.equal(await pagina.textContent('#tituloMeshes'), 'Meshes: 191');
  assert.equal(await pagina.locator('#meshes option').nth(12).textContent(), 'Objeto:12');
  const nivel = await lienzo();
  // The first view, a dim room behind Lara, holds fewer colours than the whole level seen from
  // above; untextured, it would hold a few dozen.
  assert.ok(nivel.colores > 120, `${nivel.colores} colores: ¿sin texturas?`);
  assert.ok(nivel.lleno > 0.03, `solo ${nivel.lleno} del lienzo dibujado`);
  // The first view is behind Lara's start, as the window's: she is whole in the frame, and
  // nothing of the level stands between her and the eye.
  const lara = await laraEnCuadro();
  assert.ok(lara.pixeles > 5000, `Lara ocupa ${lara.pixeles} píxeles`);
  assert.ok(!lara.borde, 'Lara no cabe entera en el cuadro');
  assert.ok(lara.vistos > 0.95, `solo se ve ${lara.vistos} de Lara`);
  assert.deepEqual(await marcados(), ['Nivel']);
  // The summary's lines wrap within the panel, none cut at its edge.
  assert.ok(await pagina.$eval('#resumen', (e) => e.scrollWidth <= e.clientWidth), 'el resumen no cabe a lo ancho');

  // A mesh, Lara, a moveable, a static, a room, and the level again.
  await pagina.evaluate(() => (document.body.dataset.estado = 'eligiendo'));
  await pagina.selectOption('#meshes', '12');
  assert.equal(await esperar('listo', 'error'), 'listo');
  const mesh = await lienzo();
  assert.ok(mesh.colores > 4 && mesh.lleno > 0.02, `${mesh.colores} colores, ${mesh.lleno}`);
  assert.notEqual(mesh.huella, nivel.huella);
  assert.match(await pagina.textContent('#aviso'), /Objeto:12/);
  // Wireframe draws lines: far less of the canvas covered.
  await pagina.check('input[value=alambre]');
  const alambre = await lienzo();
  assert.ok(alambre.lleno < mesh.lleno * 0.7, `${alambre.lleno} frente a ${mesh.lleno}`);
  await pagina.check('input[value=texturizado]');
  assert.equal((await lienzo()).huella, mesh.huella);
  // Lara with her animations, played: the picture moves.
  assert.equal(await elegir(Tipo.LARA, 0), 'listo');
  assert.ok((await pagina.locator('#animaciones option').count()) > 100);
  await pagina.selectOption('#animaciones', '1');
  const pose = await lienzo();
  await pagina.waitForTimeout(400);
  assert.notEqual((await lienzo()).huella, pose.huella, 'la animación no se mueve');
  // Its sound commands at frames 9 and 27 (on land, sound 0; in water, 17) are asked for as it
  // reaches them; title-a holds neither sound, so nothing is heard.
  await pagina.waitForFunction(() => (document.body.dataset.oidos ?? '').split(',').includes('0'), null, { timeout: 10_000 });
  assert.ok((await pagina.evaluate(() => document.body.dataset.oidos)).split(',').includes('17'));
  await pagina.selectOption('#animaciones', '-1');
  for (const [tipo, numero] of [[Tipo.LARA, 0], [Tipo.MOVIBLE, 8], [Tipo.ESTATICO, (await pagina.locator(`#arbol button[data-tipo="${Tipo.ESTATICO}"]`).first().getAttribute('data-numero'))]]) {
    assert.equal(await elegir(tipo, numero), 'listo', `${tipo} ${numero}`);
    const objeto = await lienzo();
    assert.ok(objeto.colores > 4 && objeto.lleno > 0.02, `${tipo} ${numero}: ${objeto.colores} colores, ${objeto.lleno}`);
  }
  assert.deepEqual(await marcados(), [`Estático ${await pagina.locator(`#arbol button[data-tipo="${Tipo.ESTATICO}"]`).first().getAttribute('data-numero')}`]);
  // A room picked from another view: that room alone is marked, not the level nor room 0.
  assert.equal(await elegir(Tipo.NIVEL, 5), 'listo');
  assert.match(await pagina.textContent('#aviso'), /Cuarto 5/);
  assert.deepEqual(await marcados(), ['Cuarto 5']);
  assert.notEqual((await lienzo()).huella, nivel.huella);
  assert.equal(await elegir(Tipo.NIVEL, 0), 'listo');
  assert.deepEqual(await marcados(), ['Nivel']);
  assert.equal((await lienzo()).huella, nivel.huella);
  await pagina.locator('#arbol button[data-cuarto="0"]').evaluate((b) => b.click());
  await pagina.waitForFunction(() => /Cuarto 0/.test(document.getElementById('aviso').textContent));
  assert.deepEqual(await marcados(), ['Cuarto 0']);
  assert.equal(await elegir(Tipo.NIVEL, 0), 'listo');

  // The fly camera moves ahead while W is held; orbiting again leaves it where it went.
  await pagina.check('input[value=volar]');
  await pagina.keyboard.down('KeyW');
  await pagina.waitForTimeout(500);
  await pagina.keyboard.up('KeyW');
  await pagina.waitForTimeout(100);
  await pagina.check('input[value=orbitar]');
  assert.notEqual((await lienzo()).huella, nivel.huella);
  await pagina.click('#encuadrar');
  assert.equal((await lienzo()).huella, nivel.huella);

  // What is on show, downloaded: the level, valid glTF.
  const [descarga] = await Promise.all([pagina.waitForEvent('download'), pagina.click('#descargar')]);
  assert.equal(descarga.suggestedFilename(), 'title-a_nivel.glb');
  const glb = path.join(directorio, 'nivel.glb');
  await descarga.saveAs(glb);
  const validador = createRequire(path.join(raiz, 'tools/validador/package.json'))('gltf-validator');
  const informe = await validador.validateBytes(new Uint8Array(readFileSync(glb)), { maxIssues: 0 });
  assert.equal(informe.issues.numErrors, 0, JSON.stringify(informe.issues.messages.slice(0, 5)));
  // The page draws the level from the core's batches, not from this .glb: three.js drawing the
  // .glb from the same eye makes the same picture (additive faces aside, which the .glb can only
  // stand in for).
  const distintos = await pagina.evaluate(async (b64) => {
    const v = window.tr4Visor;
    const c = document.getElementById('lienzo');
    const copia = Object.assign(document.createElement('canvas'), { width: c.width, height: c.height });
    const g = copia.getContext('2d', { willReadFrequently: true });
    const leer = () => {
      v.dibujar();
      g.drawImage(c, 0, 0);
      return g.getImageData(0, 0, c.width, c.height).data;
    };
    const lotes = leer();
    await v.mostrar(Uint8Array.from(atob(b64), (x) => x.charCodeAt(0)), v.inicial);
    const glb = leer();
    let n = 0;
    for (let i = 0; i < lotes.length; i += 4)
      if (Math.max(Math.abs(lotes[i] - glb[i]), Math.abs(lotes[i + 1] - glb[i + 1]), Math.abs(lotes[i + 2] - glb[i + 2])) > 6) n++;
    return n / (lotes.length / 4);
  }, readFileSync(glb).toString('base64'));
  t.diagnostic(`lotes frente al .glb: ${(distintos * 100).toFixed(2)} % de los píxeles difieren`);
  assert.ok(distintos < 0.01, `${(distintos * 100).toFixed(2)} % de los píxeles difieren del .glb`);
  assert.equal(await elegir(Tipo.NIVEL, 0), 'listo');
  assert.equal((await lienzo()).huella, nivel.huella);

  // The pages, as PNG links named as the command line names them.
  await pagina.click('#verPaginas');
  await pagina.waitForSelector('#dialogoPaginas[open]');
  assert.equal(await pagina.locator('#paginas a').count(), 15);
  assert.equal(await pagina.locator('#paginas a').first().getAttribute('download'), 'pagina_00.png');
  // Laid out as a grid: several to a row, in a few rows.
  const [columnas, filas] = await pagina.$$eval('#paginas a', (as) => [
    new Set(as.map((a) => a.offsetLeft)).size,
    new Set(as.map((a) => a.offsetTop)).size,
  ]);
  assert.ok(columnas >= 4 && filas <= 4, `${columnas} columnas, ${filas} filas`);
  await pagina.click('#dialogoPaginas button');

  // The level's sounds, a button each: the first (id 2, sample 0 alone) decoded by the browser
  // from the WAVE the level stores and played through Web Audio.
  assert.equal(await pagina.locator('#sonidos button').count(), 7);
  await pagina.locator('#sonidos button').first().click();
  await pagina.waitForFunction(() => document.body.dataset.sonido);
  const [id, muestra, duracion] = (await pagina.evaluate(() => document.body.dataset.sonido)).split(':');
  assert.deepEqual([id, muestra], ['2', '0']);
  assert.ok(Math.abs(Number(duracion) - 6755 / 22050) < 0.002, duracion);

  // Drop to first frame against three.js alone on the .glb tr4tool writes, in this browser.
  if (existsSync(tr4tool)) {
    const nativo = path.join(directorio, 'nativo.glb');
    spawnSync(tr4tool, ['export', tituloA, '--level', '--out', nativo]);
    const otra = await pagina.context().newPage();
    await otra.goto(new URL('medida.html', direccion).href);
    await otra.setInputFiles('input[type=file]', nativo);
    await otra.waitForFunction(() => document.body.dataset.estado === 'listo', null, { timeout: 120_000 });
    const solo = await otra.evaluate(() => window.tr4Medidas.primerCuadro);
    await otra.close();
    t.diagnostic(`three.js solo: ${solo.toFixed(0)} ms; la página: ${(medidas.primerCuadro / solo).toFixed(2)}x`);
  }

  // Another level, after scrolling the lists of this one: they start again at the top, its
  // level entry alone marked, the view behind its Lara.
  if (!existsSync(tituloB)) return;
  await pagina.locator('#meshes').evaluate((e) => (e.scrollTop = e.scrollHeight));
  await pagina.locator('aside').evaluate((e) => (e.scrollTop = e.scrollHeight));
  assert.ok(await pagina.locator('aside').evaluate((e) => e.scrollTop > 0), 'el panel no se desplaza');
  await pagina.evaluate(() => (document.body.dataset.estado = 'soltando'));
  await pagina.setInputFiles('input[type=file]', tituloB);
  assert.equal(await esperar('listo', 'error'), 'listo');
  assert.equal(await pagina.locator('#meshes').evaluate((e) => e.scrollTop), 0);
  assert.equal(await pagina.locator('aside').evaluate((e) => e.scrollTop), 0);
  assert.deepEqual(await marcados(), ['Nivel']);
  const laraB = await laraEnCuadro();
  assert.ok(laraB.pixeles > 5000 && !laraB.borde && laraB.vistos > 0.95, JSON.stringify(laraB));
});

test('un archivo dañado dice por qué y deja lo que se veía', { skip: falta || sinTituloA }, async () => {
  if ((await estado()) === 'vacio') {
    await pagina.setInputFiles('input[type=file]', tituloA);
    await esperar('listo');
  }
  const antes = await lienzo();
  const resumen = await pagina.textContent('#resumen');
  const casos = danados();
  // Refused by its size before it is read: the browser never holds its 300 MB.
  const enorme = path.join(directorio, 'enorme.tr4');
  writeFileSync(enorme, '');
  truncateSync(enorme, 300 * 2 ** 20);
  casos.push([enorme, 'mide 314572800 bytes, demasiado para ser un nivel']);

  for (const [ruta, motivo] of casos) {
    if (ruta === enorme) {
      await pagina.evaluate(() => (document.body.dataset.estado = 'soltando'));
      await pagina.setInputFiles('input[type=file]', ruta);
    } else {
      await soltar(ruta);
    }
    assert.equal(await esperar('error', 'listo'), 'error', path.basename(ruta));
    assert.equal(await pagina.textContent('#error'), `No se puede abrir ${path.basename(ruta)}: ${motivo}`);
  }
  assert.equal(await pagina.textContent('#resumen'), resumen);
  assert.equal((await lienzo()).huella, antes.huella);
  // And the page goes on: the level it holds still shows its meshes.
  await pagina.selectOption('#meshes', '3');
  assert.equal(await esperar('listo', 'error'), 'listo');
});

// The fixtures tr4muestra writes (EscritorNivel.h): `logica` a sector of each floor data function
// and a trigger of each type, room 0 with an alternate in group 3; `sonoro` PCM and MS-ADPCM.
const escritor = path.join(path.dirname(tr4tool), '../tests/fixtures/tr4muestra');
const sinEscritor = existsSync(escritor) ? false : `no está ${escritor}: cmake --build --preset test --target tr4muestra`;
function fixture(cual) {
  const ruta = path.join(directorio, `${cual}.tr4`);
  if (!existsSync(ruta)) spawnSync(escritor, [ruta, cual]);
  return ruta;
}

// The point of the canvas (client coordinates) where the marked sector's floor centre is drawn.
const centroDelSuelo = () =>
  pagina.evaluate(() => {
    const v = window.tr4Visor;
    const caja = v.marca.box;
    const p = caja.getCenter(caja.min.clone()).setY(caja.min.y).project(v.camara);
    const r = v.lienzo.getBoundingClientRect();
    return [r.left + ((p.x + 1) / 2) * r.width, r.top + ((1 - p.y) / 2) * r.height];
  });
// The pixels of the marked sector's outline (its yellow) on the canvas.
const pixelesMarca = () =>
  pagina.evaluate(() => {
    const c = document.getElementById('lienzo');
    const copia = Object.assign(document.createElement('canvas'), { width: c.width, height: c.height });
    const g = copia.getContext('2d');
    g.drawImage(c, 0, 0);
    const p = g.getImageData(0, 0, c.width, c.height).data;
    let n = 0;
    for (let i = 0; i < p.length; i += 4) if (p[i] > 200 && p[i + 1] > 170 && p[i + 1] < 230 && p[i + 2] < 60) n++;
    return n;
  });
// The served page, loaded once, its core ready for a file, whichever test runs first.
async function cargada() {
  if (pagina.url() === 'about:blank') await pagina.goto(direccion);
  await pagina.waitForFunction(() => document.body.dataset.nucleo === 'listo');
}
const filas = () => pagina.locator('#disparadores option').allTextContents();
async function filtrar(tipo, accion) {
  await pagina.selectOption('#filtroTipo', tipo);
  await pagina.selectOption('#filtroAccion', accion);
  return filas();
}
const datosSector = () =>
  pagina.$$eval('#sector dt', (dts) => Object.fromEntries(dts.map((dt) => [dt.textContent, dt.nextElementSibling.textContent])));

test('la lógica del nivel: disparadores filtrados, el sector pulsado y los cuartos alternos', { skip: falta || sinTituloA }, async () => {
  await cargada();
  await pagina.evaluate(() => (document.body.dataset.estado = 'soltando'));
  await pagina.setInputFiles('input[type=file]', tituloA);
  assert.equal(await esperar('listo', 'error'), 'listo');
  // title-a: 13 triggers, one an antitrigger; their actions object and flyby; no flip maps, no
  // alternate rooms.
  assert.equal((await filas()).length, 13);
  assert.equal(await pagina.textContent('#tituloDisparadores'), 'Disparadores (13 de 13)');
  assert.equal((await filtrar('antitrigger', '')).length, 1);
  assert.equal((await filtrar('', 'flip')).length, 0);
  assert.equal(await pagina.textContent('#tituloDisparadores'), 'Disparadores (0 de 13)');
  const vuelos = await filtrar('', 'flyby');
  assert.ok(vuelos.length > 0 && vuelos.length < 13, String(vuelos.length));
  for (const f of vuelos) assert.match(f, /vuelo \d+/);
  assert.equal((await filtrar('antitrigger', 'flyby')).length + (await filtrar('trigger', 'flyby')).length, vuelos.length);
  assert.ok(await pagina.locator('#bloqueAlternos').isHidden());

  // A trigger picked: the view flies to its sector, outlined, and lists its floor data.
  await filtrar('', '');
  const antes = (await lienzo()).huella;
  const [cuarto, x, z] = /^Cuarto (\d+) · x (\d+), z (\d+) · (.*)$/.exec((await filas())[4]).slice(1, 4);
  const linea = /^Cuarto \d+ · x \d+, z \d+ · (.*)$/.exec((await filas())[4])[1];
  await pagina.selectOption('#disparadores', '4');
  await pagina.waitForFunction((s) => document.body.dataset.sector === s, `${cuarto}:${x}:${z}`);
  assert.notEqual((await lienzo()).huella, antes, 'la vista no se movió');
  assert.ok((await pixelesMarca()) > 50, 'el sector no se ve marcado');
  assert.equal((await datosSector()).Disparador, linea);
  assert.equal((await datosSector()).Sector, `cuarto ${cuarto}, x ${x}, z ${z}`);

  // A click on that sector's floor lists it again; a drag of the view lists nothing.
  await pagina.evaluate(() => {
    delete document.body.dataset.sector;
    document.getElementById('sector').replaceChildren();
  });
  const [px, py] = await centroDelSuelo();
  await pagina.mouse.move(px, py);
  await pagina.mouse.down();
  await pagina.mouse.move(px + 40, py + 10, { steps: 4 });
  await pagina.mouse.up();
  await pagina.waitForTimeout(300);
  assert.equal(await pagina.evaluate(() => document.body.dataset.sector), undefined, 'arrastrar no es pulsar');
  await pagina.selectOption('#disparadores', '4');
  await pagina.waitForFunction((s) => document.body.dataset.sector === s, `${cuarto}:${x}:${z}`);
  await pagina.evaluate(() => delete document.body.dataset.sector);
  const [qx, qy] = await centroDelSuelo();
  await pagina.mouse.click(qx, qy);
  await pagina.waitForFunction(() => document.body.dataset.sector);
  assert.equal(await pagina.evaluate(() => document.body.dataset.sector), `${cuarto}:${x}:${z}`);
  const datos = await datosSector();
  assert.equal(datos.Disparador, linea);
  assert.equal(datos['Suelo en las esquinas'].split(', ').length, 4);
});

test('la lógica de un nivel con cada función: marcas, mapas alternos y un grupo volteado', { skip: falta || sinEscritor }, async () => {
  await cargada();
  await soltar(fixture('logica'));
  assert.equal(await esperar('listo', 'error'), 'listo');
  assert.equal((await filas()).length, 13);
  // Flip maps: the switch's flip map and the key's flip on and off, two triggers.
  assert.deepEqual((await filtrar('', 'flip')).map((f) => /^Cuarto 0 · (x \d+, z \d+)/.exec(f)[1]), ['x 1, z 2', 'x 1, z 3']);
  assert.equal((await filtrar('key', '')).length, 1);
  assert.equal((await filtrar('key', 'flipmap')).length, 0);
  assert.equal((await filtrar('switch', 'flipmap')).length, 1);
  assert.equal((await filtrar('', 'camera')).length, 1);

  // The sector of every mark (x 0, z 3), clicked where it is drawn.
  await filtrar('', '');
  await pagina.selectOption('#disparadores', '0');
  await pagina.waitForFunction(() => document.body.dataset.sector === '0:1:0');
  await pagina.evaluate(() => delete document.body.dataset.sector);
  const [px, py] = await centroDelSuelo();
  await pagina.mouse.click(px, py);
  await pagina.waitForFunction(() => document.body.dataset.sector);
  assert.equal(await pagina.evaluate(() => document.body.dataset.sector), '0:1:0');
  assert.match((await datosSector()).Disparador, /^disparador, tiempo -5, máscara 31, una vez: objeto 0, cámara 0/);
  // One sector along -x (a sector is 2 m, x mirrored in the model): x 0, z 0, the portal.
  await pagina.evaluate(() => delete document.body.dataset.sector);
  const [ox, oy] = await pagina.evaluate(() => {
    const v = window.tr4Visor;
    const caja = v.marca.box;
    const p = caja.getCenter(caja.min.clone()).setY(caja.min.y).add({ x: 2, y: 0, z: 0 }).project(v.camara);
    const r = v.lienzo.getBoundingClientRect();
    return [r.left + ((p.x + 1) / 2) * r.width, r.top + ((1 - p.y) / 2) * r.height];
  });
  await pagina.mouse.click(ox, oy);
  await pagina.waitForFunction(() => document.body.dataset.sector);
  assert.equal(await pagina.evaluate(() => document.body.dataset.sector), '0:0:0');
  assert.equal((await datosSector())['Portal al cuarto'], '1');

  // Group 3 flipped: room 0 (the floor) gives way to room 1, which has no faces; and back.
  assert.equal(await pagina.locator('#alternos input').count(), 1);
  const conSuelo = await lienzo();
  assert.ok(conSuelo.lleno > 0.05, String(conSuelo.lleno));
  await pagina.evaluate(() => (document.body.dataset.estado = 'volteando'));
  await pagina.check('#alternos input[data-grupo="3"]');
  assert.equal(await esperar('listo', 'error'), 'listo');
  assert.equal(await pagina.evaluate(() => document.body.dataset.volteados), '3');
  const sinSuelo = await lienzo();
  assert.ok(sinSuelo.lleno < conSuelo.lleno / 4, `${sinSuelo.lleno} frente a ${conSuelo.lleno}`);
  await pagina.evaluate(() => (document.body.dataset.estado = 'volteando'));
  await pagina.uncheck('#alternos input[data-grupo="3"]');
  assert.equal(await esperar('listo', 'error'), 'listo');
  // The camera stayed: the same picture as before the flip, the sector's outline included.
  assert.equal((await lienzo()).huella, conSuelo.huella);
});

test('una muestra MS-ADPCM suena con su duración', { skip: falta || sinEscritor }, async () => {
  await cargada();
  await soltar(fixture('sonoro'));
  assert.equal(await esperar('listo', 'error'), 'listo');
  // Sound 7 picks from samples 1 (MS-ADPCM, 3036 frames once decoded: 3000 values rounded up to
  // whole blocks) and 2 (PCM, 40): the first pick made certain.
  await pagina.evaluate(() => {
    Math.random = () => 0;
    delete document.body.dataset.sonido;
  });
  await pagina.locator('#sonidos button[data-id="7"]').click();
  await pagina.waitForFunction(() => document.body.dataset.sonido);
  const [id, muestra, duracion] = (await pagina.evaluate(() => document.body.dataset.sonido)).split(':');
  assert.deepEqual([id, muestra], ['7', '1']);
  assert.ok(Math.abs(Number(duracion) - 3036 / 22050) < 0.002, duracion);
  // Its stated size is the PCM's: what a decoder gives back, no more.
  if (existsSync(tr4tool)) {
    const info = JSON.parse(spawnSync(tr4tool, ['sounds', fixture('sonoro'), '--json'], { encoding: 'utf8' }).stdout);
    assert.equal(info.samples[1].format, 2);
    assert.ok(Math.abs(Number(duracion) - info.samples[1].uncompressed_size / 2 / 22050) < 0.002, duracion);
  }
});

// The page as one file, opened from disk: no server, nothing fetched but what it holds. It opens
// a level as the served page does and refuses a damaged one with the same reason.
test('tr4visor.html se abre desde el disco y abre un nivel sin servidor', { skip: faltaArchivo || sinTituloA }, async (t) => {
  const { size } = statSync(unArchivo);
  t.diagnostic(`tr4visor.html: ${(size / 2 ** 20).toFixed(2)} MiB`);
  assert.ok(size <= 3 * 2 ** 20, `tr4visor.html mide ${size} bytes`);
  const contexto = await navegador.newContext({ locale: 'es-ES', viewport: { width: 1280, height: 800 } });
  const p = await contexto.newPage();
  const pedidos = [];
  p.on('request', (r) => pedidos.push(r.url()));
  p.on('pageerror', (e) => console.error('página (archivo):', e.message));
  try {
    await p.goto(pathToFileURL(unArchivo).href);
    await p.waitForFunction(() => document.body.dataset.nucleo === 'listo', null, { timeout: 120_000 });
    assert.equal(await p.evaluate(() => document.body.dataset.estado), 'vacio');
    await p.setInputFiles('input[type=file]', tituloA);
    await p.waitForFunction(() => ['listo', 'error'].includes(document.body.dataset.estado), null, { timeout: 120_000 });
    assert.equal(await p.evaluate(() => document.body.dataset.estado), 'listo', await p.textContent('#error'));
    t.diagnostic(`title-a desde el disco: primer cuadro ${(await p.evaluate(() => window.tr4Medidas.primerCuadro)).toFixed(0)} ms`);
    assert.match(await p.textContent('#resumen'), /Cuartos:\s+42\n/);
    const nivel = await lienzo(p);
    assert.ok(nivel.colores > 120 && nivel.lleno > 0.03, `${nivel.colores} colores, ${nivel.lleno}`);
    const lara = await laraEnCuadro(p);
    assert.ok(lara.pixeles > 5000 && !lara.borde && lara.vistos > 0.95, JSON.stringify(lara));

    // Damaged files: each with tr4tool's reason, and the level stays.
    for (const [ruta, motivo] of danados()) {
      await soltar(ruta, p);
      await p.waitForFunction(() => ['listo', 'error'].includes(document.body.dataset.estado), null, { timeout: 120_000 });
      assert.equal(await p.textContent('#error'), `No se puede abrir ${path.basename(ruta)}: ${motivo}`);
    }
    assert.equal((await lienzo(p)).huella, nivel.huella);
    assert.match(await p.textContent('#resumen'), /Cuartos:\s+42\n/);

    const fuera = pedidos.filter((u) => !/^(file|data|blob):/.test(u));
    assert.deepEqual(fuera, [], 'la página pidió algo fuera de sí');
  } finally {
    await contexto.close();
  }
});

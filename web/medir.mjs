// The web page's figures, in one run of Debian's chromium headless (WebGL 2 through SwiftShader):
//   node web/medir.mjs [LEVEL.tr4]      (after scripts/web --construir and a native build)
// - drop to first frame of the level on the page, against three.js alone reading and drawing the
//   .glb that `tr4tool export --level` writes for the same level (web/medida.html): each the
//   median of five fresh pages, and their ratio (without a native tr4tool, the core under Node
//   writes the .glb: the same bytes, as web/tests/nucleo.test.js holds);
// - the same drop on the page as one file (build/web/tr4visor.html) opened from disk, against
//   the served page, and the file's size;
// - the level's four blocks inflated by the browser's DecompressionStream('deflate') and by the
//   core's inflater (libdeflate in the module): the median of five, after the first;
// - the page's transfer size: its scripts and the module, gzip-compressed;
// - the core under Node: the level's open against its logic handed to the page, every sample
//   decoded (libsndfile) and a sector picked by a point: the median of five.
import { spawn, spawnSync } from 'node:child_process';
import { existsSync, mkdtempSync, readdirSync, readFileSync, rmSync, statSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import path from 'node:path';
import { pathToFileURL } from 'node:url';
import { gzipSync } from 'node:zlib';
import { chromium } from 'playwright-core';
import { Nucleo, Tipo } from './src/nucleo.js';
import { wasiMinimo } from './src/wasi.js';

const raiz = path.resolve(import.meta.dirname, '..');
const nivel = path.resolve(process.argv[2] ?? path.join(raiz, '../shared/levels/title-a.tr4'));
const tr4tool = process.env.TR4TOOL ?? path.join(raiz, 'build/test/tools/tr4tool');
const directorio = mkdtempSync(path.join(tmpdir(), 'tr4medir-'));
const mediana = (v) => [...v].sort((a, b) => a - b)[Math.floor(v.length / 2)];

const servidor = spawn(path.join(raiz, 'scripts/web'), ['--servir', '8690'], { stdio: ['ignore', 'pipe', 'inherit'], detached: true });
const direccion = await new Promise((resolver) => {
  let texto = '';
  servidor.stdout.on('data', (d) => {
    texto += d.toString().replace(/\x1b\[[0-9;]*m/g, '');
    const m = texto.match(/http:\/\/127\.0\.0\.1:\d+\//);
    if (m) resolver(m[0]);
  });
});
const glb = path.join(directorio, 'nivel.glb');
if (existsSync(tr4tool)) {
  spawnSync(tr4tool, ['export', nivel, '--level', '--out', glb], { stdio: 'inherit' });
} else {
  const wasi = wasiMinimo();
  const instancia = new WebAssembly.Instance(new WebAssembly.Module(readFileSync(path.join(raiz, 'build/wasm/tr4nucleo.wasm'))), wasi.importaciones);
  wasi.iniciar(instancia);
  const nucleo = new Nucleo(instancia);
  if (!nucleo.abrir(new Uint8Array(readFileSync(nivel))).ok) throw new Error(`${nivel} no se abre`);
  writeFileSync(glb, nucleo.exportar(Tipo.NIVEL).glb);
}
const unArchivo = pathToFileURL(path.join(raiz, 'build/web/tr4visor.html')).href;

const navegador = await chromium.launch({
  executablePath: process.env.TR4_CHROMIUM ?? '/usr/bin/chromium',
  args: ['--use-angle=swiftshader', '--enable-unsafe-swiftshader', '--ignore-gpu-blocklist'],
});
async function medir(pagina, archivo) {
  const p = await navegador.newPage({ viewport: { width: 1280, height: 800 } });
  await p.goto(pagina === unArchivo ? pagina : new URL(pagina, direccion).href);
  // From a page at rest: the worker has compiled and warmed the core, and the browser has
  // finished what it compiles in the background, as by the time a person has picked a file.
  if (pagina !== 'medida.html') await p.waitForFunction(() => document.body.dataset.nucleo === 'listo');
  await p.waitForTimeout(500);
  await p.setInputFiles('input[type=file]', archivo);
  await p.waitForFunction(() => document.body.dataset.estado === 'listo', null, { timeout: 120_000 });
  const m = await p.evaluate(() => window.tr4Medidas);
  await p.close();
  console.error(`medir: ${path.basename(pagina)} ${path.basename(archivo)}`);
  return m;
}
const pagina = [];
const solo = [];
const desdeDisco = [];
for (let i = 0; i < 5; i++) {
  pagina.push(await medir('index.html', nivel));
  solo.push((await medir('medida.html', glb)).primerCuadro);
  desdeDisco.push((await medir(unArchivo, nivel)).primerCuadro);
}
const inflado = (await medir('medida.html', nivel)).inflado.slice(1);
await navegador.close();
process.kill(-servidor.pid);

const enviado = readdirSync(path.join(raiz, 'build/web/assets'))
  .filter((n) => /\.(js|wasm)$/.test(n))
  .map((n) => path.join(raiz, 'build/web/assets', n));
const comprimido = enviado.reduce((s, f) => s + gzipSync(readFileSync(f), { level: 9 }).length, 0);
const crudo = enviado.reduce((s, f) => s + statSync(f).size, 0);

const msPagina = mediana(pagina.map((m) => m.primerCuadro));
const msSolo = mediana(solo);
console.log(`${path.basename(nivel)}: drop to first frame ${msPagina.toFixed(0)} ms ` +
  `(core open ${mediana(pagina.map((m) => m.abrir)).toFixed(0)}, export ${mediana(pagina.map((m) => m.exportar)).toFixed(0)}, ` +
  `parse and draw ${mediana(pagina.map((m) => m.dibujo)).toFixed(0)}); three.js alone ${msSolo.toFixed(0)} ms; ratio ${(msPagina / msSolo).toFixed(2)}`);
const msDisco = mediana(desdeDisco);
console.log(`tr4visor.html (${(statSync(new URL(unArchivo)).size / 2 ** 20).toFixed(2)} MiB) from file://: drop to first frame ` +
  `${msDisco.toFixed(0)} ms against ${msPagina.toFixed(0)} ms served; ratio ${(msDisco / msPagina).toFixed(2)}`);
const msNavegador = mediana(inflado.map((v) => v.navegador.ms));
const msNucleo = mediana(inflado.map((v) => v.nucleo.ms));
console.log(`inflating its four blocks (${inflado[0].nucleo.bytes} bytes): DecompressionStream ${msNavegador.toFixed(1)} ms, ` +
  `the core ${msNucleo.toFixed(1)} ms; ratio ${(msNavegador / msNucleo).toFixed(2)}`);
console.log(`transfer: ${(comprimido / 1024).toFixed(0)} KiB gzip-compressed (${(crudo / 1024).toFixed(0)} KiB as built)`);

{
  const wasi = wasiMinimo();
  const instancia = new WebAssembly.Instance(new WebAssembly.Module(readFileSync(path.join(raiz, 'build/wasm/tr4nucleo.wasm'))), wasi.importaciones);
  wasi.iniciar(instancia);
  const nucleo = new Nucleo(instancia);
  const bytes = new Uint8Array(readFileSync(nivel));
  const tiempo = (hacer) => {
    const v = [];
    for (let i = 0; i < 5; i++) {
      const inicio = performance.now();
      hacer();
      v.push(performance.now() - inicio);
    }
    return mediana(v);
  };
  const msAbrir = tiempo(() => nucleo.abrir(bytes));
  const msLogica = tiempo(() => nucleo.logica());
  const msSonidos = tiempo(() => nucleo.sonidos());
  const { logica } = nucleo.logica();
  const picos = logica.triggers.map((d) => [d.room, nucleo.sector(d.room, d.x, d.z).sector.box]);
  const msSector = tiempo(() => {
    for (const [c, [a, b]] of picos) nucleo.sector(c, (a[0] + b[0]) / 2, (a[2] + b[2]) / 2, true);
  }) / Math.max(1, picos.length);
  console.log(`core under Node: open ${msAbrir.toFixed(1)} ms; the logic for the page ${msLogica.toFixed(1)} ms ` +
    `(ratio ${(msLogica / msAbrir).toFixed(3)}); every sample decoded ${msSonidos.toFixed(1)} ms (ratio ` +
    `${(msSonidos / msAbrir).toFixed(3)}); a sector picked by a point ${(msSector * 1000).toFixed(1)} µs`);
}
rmSync(directorio, { recursive: true, force: true });

// The yardsticks of the page's figures, in the browser that shows it:
// - a .glb picked here is read, parsed and drawn by three.js alone, timed from the pick to the
//   first frame: what the page costs on top of drawing is its own time over this one;
// - a .tr4 picked here has its four zlib blocks inflated by the browser's DecompressionStream and
//   by the core's inflater (libdeflate in the module), each timed.
import { Nucleo } from './nucleo.js';
import { Visor } from './visor.js';
import { wasiMinimo } from './wasi.js';

const URL_NUCLEO = new URL('../../build/wasm/tr4nucleo.wasm', import.meta.url);
const visor = new Visor(document.getElementById('lienzo'));
window.tr4Medidas = {};

// The four blocks of a level: after the version and three counts, each an inflated size, a
// compressed size and the stream.
function bloques(bytes) {
  const v = new DataView(bytes.buffer, bytes.byteOffset, bytes.byteLength);
  const lista = [];
  let p = 10;
  for (let b = 0; b < 4; b++) {
    const declarado = v.getUint32(p, true);
    const comprimido = v.getUint32(p + 4, true);
    lista.push({ declarado, datos: bytes.subarray(p + 8, p + 8 + comprimido) });
    p += 8 + comprimido;
  }
  return lista;
}

async function conNavegador(lista) {
  let total = 0;
  for (const { datos } of lista) {
    const flujo = new Blob([datos]).stream().pipeThrough(new DecompressionStream('deflate'));
    total += (await new Response(flujo).arrayBuffer()).byteLength;
  }
  return total;
}

function conNucleo(nucleo, lista) {
  let total = 0;
  for (const { datos, declarado } of lista) {
    const p = nucleo.x.tr4_reservar(datos.length);
    new Uint8Array(nucleo.x.memory.buffer, p, datos.length).set(datos);
    if (nucleo.x.tr4_inflar(p, datos.length, declarado)) total += nucleo.x.tr4_tamano_resultado();
    nucleo.x.tr4_liberar(p);
  }
  return total;
}

async function tiempo(hacer) {
  const inicio = performance.now();
  const bytes = await hacer();
  return { ms: performance.now() - inicio, bytes };
}

async function medirInflado(bytes) {
  const wasi = wasiMinimo();
  const { instance } = await WebAssembly.instantiateStreaming(fetch(URL_NUCLEO), wasi.importaciones);
  wasi.iniciar(instance);
  const nucleo = new Nucleo(instance);
  const lista = bloques(bytes);
  const veces = [];
  for (let i = 0; i < 5; i++)
    veces.push({ navegador: await tiempo(() => conNavegador(lista)), nucleo: await tiempo(() => conNucleo(nucleo, lista)) });
  return veces;
}

document.getElementById('archivo').addEventListener('change', async (e) => {
  const inicio = performance.now();
  document.body.dataset.estado = 'cargando';
  const archivo = e.target.files[0];
  const bytes = new Uint8Array(await archivo.arrayBuffer());
  if (/\.tr4$/i.test(archivo.name)) {
    window.tr4Medidas = { inflado: await medirInflado(bytes) };
  } else {
    await visor.mostrar(bytes);
    window.tr4Medidas = { primerCuadro: performance.now() - inicio };
  }
  document.body.dataset.estado = 'listo';
});

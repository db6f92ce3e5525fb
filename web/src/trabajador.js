// The page's worker: the core runs here, off the page's thread, so that a large level never
// freezes the page. Each message { id, orden, ... } gets one answer { id, ok, ... }.
import { falloDe } from './fallos.js';
import { compilarNucleo } from './modulo.js';
import { Nucleo } from './nucleo.js';
import { wasiMinimo } from './wasi.js';

let modulo = null; // compiled once; a fresh instance after a trap
let nucleo = null;
let ingles = false;
let abierto = null; // the File of the level open in the core

async function instanciar() {
  modulo ??= await compilarNucleo();
  const wasi = wasiMinimo((fd, texto) => console.warn(texto));
  const instancia = await WebAssembly.instantiate(modulo, wasi.importaciones);
  wasi.iniciar(instancia);
  nucleo = new Nucleo(instancia);
  nucleo.idioma(ingles);
  nucleo.x.tr4_calentar();
}

// The page learns when the core is compiled and warmed, ready for a file.
const listo = instanciar().then(() => postMessage({ id: 0, listo: true }));

// A trap (the core out of memory, say) leaves its memory in no known state: a new instance
// takes over, with the level that was open opened again in it, so the page goes on as it was.
async function recuperar() {
  await instanciar();
  if (abierto) {
    const r = nucleo.abrir(new Uint8Array(await abierto.arrayBuffer()));
    if (!r.ok) abierto = null;
  }
}

async function abrir({ archivo }) {
  const admitido = nucleo.admitirTamano(archivo.size);
  if (!admitido.ok) return admitido;
  let bytes;
  try {
    bytes = new Uint8Array(await archivo.arrayBuffer());
  } catch (e) {
    return { ok: false, ilegible: String(e?.message ?? e) };
  }
  const inicio = performance.now();
  const r = nucleo.abrir(bytes);
  bytes = null;
  if (!r.ok) return r;
  abierto = archivo;
  return { ok: true, indice: r.indice, ms: performance.now() - inicio };
}

// Answers that say how long the core took, for the page's figures.
const medido = (hacer) => (datos) => {
  const inicio = performance.now();
  const r = hacer(datos);
  return { ...r, ms: performance.now() - inicio };
};

const ORDENES = {
  idioma({ ingles: i }) {
    ingles = i;
    nucleo.idioma(i);
    return { ok: true };
  },
  abrir,
  exportar: medido(({ tipo, numero }) => nucleo.exportar(tipo, numero)),
  nivel: medido(() => nucleo.nivel()),
  paginas: () => ({ ok: true, paginas: nucleo.paginas() }),
  pagina: ({ indice }) => nucleo.pagina(indice),
  nombreExportacion: ({ tipo, numero }) => nucleo.nombreExportacion(tipo, numero, abierto?.name ?? ''),
  sonidos: () => nucleo.sonidos(),
  muestra: ({ indice }) => nucleo.muestra(indice),
  sonidosAnimacion: ({ animacion }) => nucleo.sonidosAnimacion(animacion),
  logica: () => nucleo.logica(),
  sector: ({ cuarto, x, z, punto }) => nucleo.sector(cuarto, x, z, punto),
  voltear: ({ grupo, volteado }) => nucleo.voltear(grupo, volteado),
};

onmessage = async ({ data }) => {
  await listo;
  let respuesta;
  try {
    respuesta = await ORDENES[data.orden](data);
  } catch (e) {
    respuesta = falloDe(e, nucleo);
    await recuperar();
  }
  const traspasos = [respuesta.glb?.buffer, respuesta.png?.buffer, respuesta.wave?.buffer, respuesta.lotes, ...(respuesta.texels ?? [])].filter(Boolean);
  postMessage({ id: data.id, ...respuesta }, traspasos);
};

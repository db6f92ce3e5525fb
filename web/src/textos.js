// The page's own texts: Spanish, the system's language, unless the browser asks for English.
// The core's texts (the summary, the reasons) come from the core, in the same language.

const ES = {
  titulo: 'tr4visor',
  abrir: 'Abrir un nivel .tr4',
  soltar: 'Suelta aquí un nivel .tr4, o ábrelo con el botón.',
  cargando: 'Abriendo {archivo}…',
  abierto: '{archivo}: listo en {ms} ms',
  noAbre: 'No se puede abrir {archivo}: {motivo}',
  sinMemoria: 'no hay memoria suficiente en el navegador para él',
  noLeible: 'el navegador no puede leerlo: {motivo}',
  resumen: 'Resumen',
  meshes: 'Meshes: {n}',
  mesh: 'Objeto:{n}',
  objetos: 'Objetos',
  nivel: 'Nivel',
  cuartos: 'Cuartos ({n})',
  cuarto: 'Cuarto {n}',
  movibles: 'Movibles ({n})',
  movible: 'Movible {id}',
  movible1: 'Movible {id} · 1 mesh',
  movibleN: 'Movible {id} · {n} meshes',
  estaticos: 'Estáticos ({n})',
  estatico: 'Estático {id}',
  lara: 'Lara',
  texturizado: 'Texturizado',
  alambre: 'Wireframe',
  encuadrar: 'Encuadrar',
  orbitar: 'Órbita',
  volar: 'Vuelo',
  ayudaVuelo: 'Vuelo: W A S D para moverse, R F para subir y bajar, arrastra para mirar.',
  descargarGlb: 'Descargar .glb',
  paginas: 'Páginas PNG',
  sonidos: 'Sonidos',
  sonido: 'Sonido {id}',
  noSuena: 'El sonido {id} no se puede oír: {motivo}',
  cerrar: 'Cerrar',
  sinWebgl: 'Este navegador no puede dibujar con WebGL 2.',
  muestra: 'Mostrando: {que}',
  animacion: 'Animación',
  quieto: '(quieto)',
};

const EN = {
  titulo: 'tr4visor',
  abrir: 'Open a .tr4 level',
  soltar: 'Drop a .tr4 level here, or open one with the button.',
  cargando: 'Opening {archivo}…',
  abierto: '{archivo}: ready in {ms} ms',
  noAbre: 'Cannot open {archivo}: {motivo}',
  sinMemoria: 'the browser has not enough memory for it',
  noLeible: 'the browser cannot read it: {motivo}',
  resumen: 'Summary',
  meshes: 'Meshes: {n}',
  mesh: 'Object:{n}',
  objetos: 'Objects',
  nivel: 'Level',
  cuartos: 'Rooms ({n})',
  cuarto: 'Room {n}',
  movibles: 'Moveables ({n})',
  movible: 'Moveable {id}',
  movible1: 'Moveable {id} · 1 mesh',
  movibleN: 'Moveable {id} · {n} meshes',
  estaticos: 'Statics ({n})',
  estatico: 'Static {id}',
  lara: 'Lara',
  texturizado: 'Textured',
  alambre: 'Wireframe',
  encuadrar: 'Fit',
  orbitar: 'Orbit',
  volar: 'Fly',
  ayudaVuelo: 'Fly: W A S D to move, R F to rise and sink, drag to look around.',
  descargarGlb: 'Download .glb',
  paginas: 'PNG pages',
  sonidos: 'Sounds',
  sonido: 'Sound {id}',
  noSuena: 'Sound {id} cannot be heard: {motivo}',
  cerrar: 'Close',
  sinWebgl: 'This browser cannot draw with WebGL 2.',
  muestra: 'Showing: {que}',
  animacion: 'Animation',
  quieto: '(still)',
};

// "en" and "en-*" are English, as an en_* locale is for the program; anything else Spanish.
export function esIngles(idioma) {
  return /^en(-|$)/i.test(idioma ?? '');
}

export function textos(ingles) {
  const tabla = ingles ? EN : ES;
  return (clave, valores = {}) =>
    tabla[clave].replace(/\{(\w+)\}/g, (_, nombre) => String(valores[nombre] ?? ''));
}

export const TABLAS = { ES, EN };

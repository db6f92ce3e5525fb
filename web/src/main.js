// The page: a level dropped or picked goes to the worker, which opens it in the core and hands
// back what to list and what to draw (the level as the core's batches, anything else a .glb). A
// file that cannot be opened says why, and whatever was open stays. The page's state is on body[data-estado]: vacio, cargando, listo, error.
import { crearTrabajador } from './arranque.js';
import { motivoDe as motivoFallo } from './fallos.js';
import { Tipo } from './nucleo.js';
import { filasSector, listarFilas } from './sector.js';
import { Sonidos } from './sonidos.js';
import { esIngles, textos } from './textos.js';
import { Visor } from './visor.js';

const ingles = esIngles(navigator.language);
const t = textos(ingles);
document.documentElement.lang = ingles ? 'en' : 'es';
for (const e of document.querySelectorAll('[data-texto]')) e.textContent = t(e.dataset.texto);

const $ = (id) => document.getElementById(id);
const cuerpo = document.body;
const ponerEstado = (estado) => (cuerpo.dataset.estado = estado);

// Timings of the last open, for the page's own figures and its tests.
window.tr4Medidas = {};

// One worker; each request waits for the answer with its id.
const trabajador = crearTrabajador();
let siguienteId = 0;
const pendientes = new Map();
trabajador.onmessage = ({ data }) => {
  if (data.listo) cuerpo.dataset.nucleo = 'listo';
  pendientes.get(data.id)?.(data);
  pendientes.delete(data.id);
};
function pedir(orden, datos = {}) {
  const id = ++siguienteId;
  return new Promise((resolver) => {
    pendientes.set(id, resolver);
    trabajador.postMessage({ id, orden, ...datos });
  });
}
pedir('idioma', { ingles });

let visor;
try {
  visor = new Visor($('lienzo'));
  visor.alSonar = (id) => sonidos.alSonar(id);
} catch {
  mostrarError(t('sinWebgl'));
}
// What the canvas holds, for the tests that check what stands where in it.
window.tr4Visor = visor;

// What is on show: what of the open file (a room of the level, when one was picked), and
// the .glb the core made of it (the level's is made only when it is downloaded: the page draws
// the level from the core's batches).
let enVista = null; // { tipo, numero, cuarto, glb, nombre }
// Where the open level's view starts: behind Lara, or round its lit rooms (Visor.encuadrar).
let vistaNivel = null;
let ocupado = Promise.resolve();

function mostrarError(texto) {
  $('error').textContent = texto;
  $('error').hidden = false;
  ponerEstado('error');
}

function avisar(texto) {
  $('aviso').textContent = texto;
}

const motivoDe = (r) => motivoFallo(r, t);

const sonidos = new Sonidos({ pedir, t, avisar, motivoDe, lista: $('sonidos'), bloque: $('bloqueSonidos') });

// One thing at a time: a second drop waits for the first to end.
function enOrden(tarea) {
  ocupado = ocupado.then(tarea, tarea);
  return ocupado;
}

async function abrirArchivo(archivo) {
  if (!archivo) return;
  const inicio = performance.now();
  $('error').hidden = true;
  ponerEstado('cargando');
  avisar(t('cargando', { archivo: archivo.name }));
  const abierto = await pedir('abrir', { archivo });
  if (!abierto.ok) {
    avisar(enVista ? t('muestra', { que: enVista.nombre }) : '');
    mostrarError(t('noAbre', { archivo: archivo.name, motivo: motivoDe(abierto) }));
    return;
  }
  // What to show first (the level when it has rooms, otherwise its first mesh) is made in the
  // worker while the lists are filled here.
  const tipo = abierto.indice.cuartos.length > 0 ? Tipo.NIVEL : Tipo.MESH;
  const primero =
    tipo === Tipo.NIVEL ? pedir('nivel') : abierto.indice.meshes > 0 ? pedir('exportar', { tipo, numero: 0 }) : null;
  vistaNivel = vistaInicial(abierto.indice);
  llenarListas(abierto.indice);
  await sonidos.llenar();
  await llenarLogica(tipo === Tipo.NIVEL);
  const m = await primero;
  if (m && !m.ok) {
    // Opened, but what it shows first could not be made (the browser out of memory for it).
    enVista = null;
    marcar(null);
    mostrarError(t('noAbre', { archivo: archivo.name, motivo: motivoDe(m) }));
    return;
  }
  // lotes: the level's batches and pages as Nucleo.nivel hands them over.
  const r = { tipo, numero: 0, glb: m?.glb ?? null, lotes: m?.lotes ? m : null, ms: { abrir: abierto.ms, exportar: m?.ms ?? 0 } };
  const msCore = performance.now() - inicio;
  if ((r.glb || r.lotes) && visor) {
    const antes = performance.now();
    if (r.lotes) visor.mostrarLotes(r.lotes, vistaNivel);
    else await visor.mostrar(r.glb);
    llenarAnimaciones();
    window.tr4Medidas = {
      primerCuadro: performance.now() - inicio,
      nucleo: msCore,
      abrir: r.ms.abrir,
      exportar: r.ms.exportar,
      dibujo: performance.now() - antes,
    };
  }
  enVista = r.glb || r.lotes ? { tipo: r.tipo, numero: r.numero, glb: r.glb, nombre: nombreDe(r.tipo, r.numero) } : null;
  marcar(enVista);
  for (const id of ['modo', 'camara', 'encuadrar', 'descargar', 'verPaginas']) $(id).disabled = false;
  $('descargar').disabled = !enVista;
  avisar(t('abierto', { archivo: archivo.name, ms: Math.round(performance.now() - inicio) }));
  ponerEstado('listo');
}

// Shows a mesh, an object or the level, exported by the core as the file would be.
async function mostrar(tipo, numero) {
  $('error').hidden = true;
  ponerEstado('cargando');
  const r = tipo === Tipo.NIVEL ? await pedir('nivel') : await pedir('exportar', { tipo, numero });
  if (!r.ok) {
    mostrarError(motivoDe(r));
    return;
  }
  if (r.lotes) visor?.mostrarLotes(r, vistaNivel);
  else await visor?.mostrar(r.glb);
  llenarAnimaciones();
  enVista = { tipo, numero, glb: r.glb ?? null, nombre: nombreDe(tipo, numero) };
  marcar(enVista);
  $('descargar').disabled = false;
  avisar(t('muestra', { que: enVista.nombre }));
  ponerEstado('listo');
}

// The animations of what is on show, to play as the window plays them; none for a still model.
function llenarAnimaciones() {
  const lista = visor?.animaciones ?? [];
  $('bloqueAnimaciones').hidden = lista.length === 0;
  $('animaciones').replaceChildren(
    new Option(t('quieto'), '-1'),
    ...lista.map((a, i) => new Option(a.name || String(i), String(i))),
  );
}

function vistaInicial(indice) {
  if (indice.inicio) return indice.inicio;
  return { nodos: indice.iluminados.map((c) => `cuarto_${c}`) };
}

// A room of the level on show, framed; the level is shown first when something else is.
async function mostrarCuarto(c) {
  if (enVista?.tipo !== Tipo.NIVEL) await mostrar(Tipo.NIVEL, 0);
  if (enVista?.tipo !== Tipo.NIVEL) return;
  visor?.encuadrar(`cuarto_${c}`);
  enVista.cuarto = c;
  marcar(enVista);
  avisar(t('muestra', { que: t('cuarto', { n: c }) }));
}

function nombreDe(tipo, numero) {
  switch (tipo) {
    case Tipo.MESH: return t('mesh', { n: numero });
    case Tipo.MOVIBLE: return t('movible', { id: numero });
    case Tipo.ESTATICO: return t('estatico', { id: numero });
    case Tipo.LARA: return t('lara');
    default: return t('nivel');
  }
}

function boton(texto, tipo, numero, alPulsar) {
  const b = document.createElement('button');
  b.type = 'button';
  b.textContent = texto;
  b.dataset.tipo = tipo;
  b.dataset.numero = numero;
  b.addEventListener('click', alPulsar ?? (() => enOrden(() => mostrar(tipo, numero))));
  return b;
}

function grupo(titulo, abierto = false) {
  const d = document.createElement('details');
  d.open = abierto;
  const s = document.createElement('summary');
  s.textContent = titulo;
  d.append(s);
  return d;
}

function llenarListas(indice) {
  // A new level's lists start at their top, whatever was scrolled in the last one's.
  document.querySelector('aside').scrollTop = 0;
  $('resumen').textContent = indice.resumen;
  $('tituloMeshes').textContent = t('meshes', { n: indice.meshes });
  const meshes = $('meshes');
  meshes.replaceChildren(
    ...Array.from({ length: indice.meshes }, (_, i) => new Option(t('mesh', { n: i }), String(i))),
  );
  meshes.scrollTop = 0;

  const arbol = $('arbol');
  arbol.replaceChildren();
  if (indice.cuartos.length > 0) {
    const nivel = grupo(t('nivel'), true);
    nivel.append(boton(t('nivel'), Tipo.NIVEL, 0));
    const cuartos = grupo(t('cuartos', { n: indice.cuartos.length }));
    for (const c of indice.cuartos) {
      const b = boton(t('cuarto', { n: c }), Tipo.NIVEL, c, () => enOrden(() => mostrarCuarto(c)));
      b.dataset.cuarto = c;
      cuartos.append(b);
    }
    nivel.append(cuartos);
    arbol.append(nivel);
  }
  if (indice.lara) arbol.append(boton(t('lara'), Tipo.LARA, 0));
  const movibles = grupo(t('movibles', { n: indice.movibles.length }));
  for (const m of indice.movibles)
    movibles.append(boton(t(m.meshes === 1 ? 'movible1' : 'movibleN', { id: m.id, n: m.meshes }), Tipo.MOVIBLE, m.id));
  const estaticos = grupo(t('estaticos', { n: indice.estaticos.length }));
  for (const e of indice.estaticos) estaticos.append(boton(t('estatico', { id: e.id }), Tipo.ESTATICO, e.id));
  arbol.append(movibles, estaticos);
}

// The level's logic: its triggers, listed with the window's filters (by type, by action, and
// "flip maps", all three flip actions); the alternate groups to flip; a sector's floor data.
const FLIP = new Set(['flipmap', 'flip_on', 'flip_off']);
let logica = null; // { logica, textos, tipos, acciones } as the core hands them
async function llenarLogica(conCuartos) {
  const r = conCuartos ? await pedir('logica') : { ok: false };
  logica = r.ok ? r : null;
  $('bloqueLogica').hidden = !logica;
  $('sector').replaceChildren();
  delete cuerpo.dataset.sector;
  if (!logica) return;
  const opcion = (texto, valor) => new Option(texto, valor);
  $('filtroTipo').replaceChildren(
    opcion(t('todosTipos'), ''),
    ...Object.entries(logica.tipos).map(([clave, nombre]) => opcion(nombre, clave)),
  );
  $('filtroAccion').replaceChildren(
    opcion(t('todasAcciones'), ''),
    opcion(t('mapasAlternos'), 'flip'),
    ...Object.entries(logica.acciones).map(([clave, nombre]) => opcion(nombre, clave)),
  );
  filtrarDisparadores();

  // The alternate groups, by the base rooms that name an alternate.
  const grupos = [...new Set(logica.logica.rooms.filter((c) => c.alternate >= 0).map((c) => c.alternate_group))].sort((a, b) => a - b);
  $('bloqueAlternos').hidden = grupos.length === 0;
  const casilla = (texto, grupo) => {
    const l = document.createElement('label');
    const c = document.createElement('input');
    c.type = 'checkbox';
    c.dataset.grupo = grupo;
    c.addEventListener('change', () => enOrden(() => voltear(grupo, c.checked)));
    l.append(c, ' ', texto);
    return l;
  };
  $('alternos').replaceChildren(
    ...(grupos.length > 1 ? [casilla(t('todosGrupos'), -1)] : []),
    ...grupos.map((g) => casilla(t('grupoAlterno', { g }), g)),
  );
}

function filtrarDisparadores() {
  const tipo = $('filtroTipo').value;
  const accion = $('filtroAccion').value;
  const pasa = (d) =>
    (!tipo || d.type === tipo) &&
    (!accion || d.actions.some((a) => (accion === 'flip' ? FLIP.has(a.action) : a.action === accion)));
  const todos = logica.logica.triggers;
  const opciones = [];
  todos.forEach((d, i) => {
    if (!pasa(d)) return;
    const o = new Option(t('filaDisparador', { cuarto: d.room, x: d.x, z: d.z, texto: logica.textos[i] }), String(i));
    o.title = o.text; // the whole line, wider than the panel
    opciones.push(o);
  });
  $('disparadores').replaceChildren(...opciones);
  $('tituloDisparadores').textContent = t('disparadores', { n: opciones.length, total: todos.length });
}

// Alternate group `grupo` (-1 all) flipped or not: the level drawn again, the camera kept.
async function voltear(grupo, volteado) {
  if (grupo === -1) for (const c of $('alternos').querySelectorAll('input')) c.checked = volteado;
  const r = await pedir('voltear', { grupo, volteado });
  if (!r.ok) {
    mostrarError(motivoDe(r));
    return;
  }
  if (enVista?.tipo !== Tipo.NIVEL) return;
  ponerEstado('cargando');
  const m = await pedir('nivel');
  if (!m.ok) {
    mostrarError(motivoDe(m));
    return;
  }
  visor?.mostrarLotes(m, vistaNivel, true);
  cuerpo.dataset.volteados = [...$('alternos').querySelectorAll('input:checked')].map((c) => c.dataset.grupo).join(',');
  ponerEstado('listo');
}

// A sector's floor data, as the window's details list it, outlined in the view; `volar` flies
// there too.
async function verSector(pedido, volar) {
  const r = await pedir('sector', pedido);
  if (!r.ok) {
    avisar(motivoDe(r));
    return;
  }
  const s = r.sector;
  listarFilas($('sector'), filasSector(s, t));
  $('ayudaSector').hidden = true;
  cuerpo.dataset.sector = `${s.room}:${s.x}:${s.z}`;
  // Framed with a sector's width around it: the sector alone, a tall narrow box, would fill the
  // view with its own walls.
  const [minimo, maximo] = s.box;
  const lado = maximo[0] - minimo[0];
  if (volar) visor?.encuadrarCajaDe([[minimo[0] - lado, minimo[1], minimo[2] - lado], [maximo[0] + lado, maximo[1], maximo[2] + lado]]);
  visor?.marcarCaja(s.box);
}

// The entry of what is on show, and it alone, pressed: a room's when one was picked, the
// level's when the whole level is on show; the mesh list follows a mesh.
function marcar(v) {
  const pulsado = (b) => {
    if (!v || v.tipo === Tipo.MESH) return false;
    if (b.dataset.cuarto !== undefined) return v.tipo === Tipo.NIVEL && v.cuarto === Number(b.dataset.cuarto);
    if (v.tipo === Tipo.NIVEL && v.cuarto !== undefined) return false;
    return b.dataset.tipo === v.tipo && Number(b.dataset.numero) === v.numero;
  };
  for (const b of $('arbol').querySelectorAll('button')) b.setAttribute('aria-pressed', String(pulsado(b)));
  if (v?.tipo !== Tipo.MESH) $('meshes').selectedIndex = -1;
}

function descargar(bytes, nombre, tipo) {
  const enlace = document.createElement('a');
  enlace.href = URL.createObjectURL(new Blob([bytes], { type: tipo }));
  enlace.download = nombre;
  document.body.append(enlace);
  enlace.click();
  enlace.remove();
  setTimeout(() => URL.revokeObjectURL(enlace.href), 60_000);
}

// The pages under the names the core gives them, those the command line writes.
async function verPaginas() {
  const { paginas } = await pedir('paginas');
  const lista = $('paginas');
  for (const img of lista.querySelectorAll('img')) URL.revokeObjectURL(img.src);
  lista.replaceChildren();
  for (let i = 0; i < paginas; i++) {
    const r = await pedir('pagina', { indice: i });
    if (!r.ok) continue;
    const url = URL.createObjectURL(new Blob([r.png], { type: 'image/png' }));
    const a = document.createElement('a');
    a.href = url;
    a.download = r.nombre;
    const img = new Image();
    img.src = url;
    img.alt = a.download;
    a.append(img, a.download);
    lista.append(a);
  }
  $('dialogoPaginas').showModal();
}

$('archivo').addEventListener('change', (e) => {
  const archivo = e.target.files[0];
  e.target.value = ''; // the same file may be picked again after it was mended
  enOrden(() => abrirArchivo(archivo));
});
$('meshes').addEventListener('change', (e) => {
  const n = Number(e.target.value);
  if (e.target.value !== '') enOrden(() => mostrar(Tipo.MESH, n));
});
for (const r of document.querySelectorAll('input[name=modo]'))
  r.addEventListener('change', () => visor?.ponerAlambre(r.value === 'alambre' && r.checked));
for (const r of document.querySelectorAll('input[name=camara]'))
  r.addEventListener('change', () => {
    const volar = r.value === 'volar' && r.checked;
    visor?.ponerVuelo(volar);
    $('ayudaVuelo').hidden = !volar;
  });
$('encuadrar').addEventListener('click', () => {
  // Fit frames what is on show: a picked room again, else the first view.
  visor?.encuadrar(enVista?.cuarto !== undefined ? `cuarto_${enVista.cuarto}` : undefined);
});
$('animaciones').addEventListener('change', async (e) => {
  const indice = Number(e.target.value);
  // The clip names the level's animation; its sound commands come from the core.
  const n = /^animacion_(\d+)$/.exec(visor?.animaciones[indice]?.name ?? '');
  const r = n ? await pedir('sonidosAnimacion', { animacion: Number(n[1]) }) : null;
  visor?.animar(indice, r?.ok ? r.sonidos : []);
});
// The .glb of what is on show; the level's is made now, the first time it is asked for.
async function descargarGlb() {
  const v = enVista;
  if (!v) return;
  if (!v.glb) {
    const r = await pedir('exportar', { tipo: v.tipo, numero: v.numero });
    if (!r.ok) {
      mostrarError(motivoDe(r));
      return;
    }
    v.glb = r.glb;
  }
  const n = await pedir('nombreExportacion', { tipo: v.tipo, numero: v.numero });
  if (!n.ok) {
    mostrarError(motivoDe(n));
    return;
  }
  descargar(v.glb, n.nombre, 'model/gltf-binary');
}
$('descargar').addEventListener('click', () => enOrden(descargarGlb));
for (const id of ['filtroTipo', 'filtroAccion']) $(id).addEventListener('change', () => logica && filtrarDisparadores());
$('disparadores').addEventListener('change', (e) => {
  const d = logica?.logica.triggers[Number(e.target.value)];
  if (!d) return;
  enOrden(async () => {
    if (enVista?.tipo !== Tipo.NIVEL) await mostrar(Tipo.NIVEL, 0);
    await verSector({ cuarto: d.room, x: d.x, z: d.z }, true);
  });
});
// A click (a press that did not drag the view) on the level's floor asks for its sector.
let pulsado = null;
$('lienzo').addEventListener('pointerdown', (e) => (pulsado = [e.clientX, e.clientY]));
$('lienzo').addEventListener('pointerup', (e) => {
  if (!pulsado || Math.hypot(e.clientX - pulsado[0], e.clientY - pulsado[1]) > 4) return;
  pulsado = null;
  if (!logica || enVista?.tipo !== Tipo.NIVEL) return;
  const golpe = visor?.cuartoEn(e.clientX, e.clientY);
  if (golpe) enOrden(() => verSector({ cuarto: golpe.cuarto, x: golpe.punto.x, z: golpe.punto.z, punto: true }, false));
});
$('verPaginas').addEventListener('click', () => enOrden(verPaginas));

// Dropping a file anywhere on the page opens it.
let arrastres = 0;
addEventListener('dragenter', (e) => {
  e.preventDefault();
  if (++arrastres === 1) cuerpo.classList.add('arrastrando');
});
addEventListener('dragleave', () => {
  if (--arrastres <= 0) {
    arrastres = 0;
    cuerpo.classList.remove('arrastrando');
  }
});
addEventListener('dragover', (e) => e.preventDefault());
addEventListener('drop', (e) => {
  e.preventDefault();
  arrastres = 0;
  cuerpo.classList.remove('arrastrando');
  const archivo = e.dataTransfer?.files?.[0];
  if (archivo) enOrden(() => abrirArchivo(archivo));
});

avisar(t('soltar'));

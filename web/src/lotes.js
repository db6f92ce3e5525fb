// The level as the core lays it out for drawing (web/nucleo/LotesPagina.h): one buffer with its
// description in front, made into three.js meshes over views of that buffer, nothing copied.
// One mesh per material: tens of draw calls where one per node and material made hundreds.
import * as THREE from 'three';

const RECORTE = 1, ADITIVA = 2; // and 0, opaque

// three.js's map_fragment, the texel taken as B, G, R, A.
const MAPA_BGRA = THREE.ShaderChunk.map_fragment.replace('diffuseColor *= sampledDiffuseColor;', 'diffuseColor *= sampledDiffuseColor.bgra;');
if (MAPA_BGRA === THREE.ShaderChunk.map_fragment) throw new Error('map_fragment de three.js ha cambiado');

// A batch's material: unlit, its page's texels times the vertex colours. The texels go up as the
// level holds them, B, G, R, A (WebGL has no such format): the shader puts them in order.
function material(mapa, doble, mezcla) {
  const m = new THREE.MeshBasicMaterial({ map: mapa, vertexColors: true, side: doble ? THREE.DoubleSide : THREE.FrontSide });
  if (mapa) {
    m.onBeforeCompile = (s) => {
      s.fragmentShader = s.fragmentShader.replace('#include <map_fragment>', MAPA_BGRA);
    };
    m.customProgramCacheKey = () => 'bgra';
  }
  if (mezcla === RECORTE) m.alphaTest = 0.5;
  if (mezcla === ADITIVA) {
    // Added to what lies behind, as the window draws it; a see-through texel adds nothing.
    m.transparent = true;
    m.blending = THREE.AdditiveBlending;
    m.depthWrite = false;
  }
  return m;
}

// One triangle for each kind of material a batch may have, drawn once while the page waits for
// a file: the shaders compile, and a software renderer makes its routines for each way of
// drawing, which took the first frame of a level tens of milliseconds otherwise. Its materials
// are kept, so that their shaders stay compiled.
export function muestrario() {
  const pagina = new THREE.DataTexture(new Uint8Array(4), 1, 1);
  pagina.magFilter = pagina.minFilter = THREE.NearestFilter;
  pagina.wrapS = pagina.wrapT = THREE.RepeatWrapping;
  pagina.generateMipmaps = false;
  pagina.colorSpace = THREE.SRGBColorSpace;
  pagina.needsUpdate = true;
  const g = new THREE.BufferGeometry();
  // A small triangle ahead of the default camera, drawn once where nothing is yet on show.
  g.setAttribute('position', new THREE.BufferAttribute(new Float32Array([0, 0, -1, 0.01, 0, -1, 0, 0.01, -1]), 3));
  g.setAttribute('color', new THREE.BufferAttribute(new Float32Array(9), 3));
  g.setAttribute('uv', new THREE.BufferAttribute(new Float32Array(6), 2));
  const grupo = new THREE.Group();
  for (const mapa of [pagina, null])
    for (const doble of [false, true])
      for (const mezcla of [0, RECORTE, ADITIVA]) grupo.add(new THREE.Mesh(g, material(mapa, doble, mezcla)));
  return grupo;
}

// { modelo: a Group of the batches' meshes, cajas: Map of each top-level node's name to its box,
//   tramos: Map of each node's name to [[batch, first index, index count], ...] }. `texels`: the
// pages' texels, in the order the description lists the pages (Nucleo.nivel).
export function armarLotes(buffer, texels) {
  const vista = new DataView(buffer);
  const largo = vista.getUint32(0, true);
  const d = JSON.parse(new TextDecoder().decode(new Uint8Array(buffer, 4, largo)));
  const datos = (4 + largo + 3) & ~3;
  const flotantes = (desde, n) => new Float32Array(buffer, datos + desde, n);

  const texturas = new Map();
  for (const [i, pagina] of d.paginas.entries()) {
    const t = new THREE.DataTexture(new Uint8Array(texels[i]), d.lado, d.lado);
    // Texel by texel, row 0 at the top as the texel coordinates take it, sRGB as painted.
    t.magFilter = t.minFilter = THREE.NearestFilter;
    t.wrapS = t.wrapT = THREE.RepeatWrapping;
    t.generateMipmaps = false;
    t.colorSpace = THREE.SRGBColorSpace;
    t.needsUpdate = true;
    texturas.set(pagina, t);
  }
  const materiales = d.materiales.map(({ pagina, doble, mezcla }) => material(texturas.get(pagina) ?? null, doble, mezcla));

  const modelo = new THREE.Group();
  for (const [i, l] of d.lotes.entries()) {
    const g = new THREE.BufferGeometry();
    g.setAttribute('position', new THREE.BufferAttribute(flotantes(l.posiciones, l.vertices * 3), 3));
    g.setAttribute('color', new THREE.BufferAttribute(flotantes(l.colores, l.vertices * 3), 3));
    g.setAttribute('uv', new THREE.BufferAttribute(flotantes(l.uv, l.vertices * 2), 2));
    g.setIndex(new THREE.BufferAttribute(new Uint32Array(buffer, datos + l.triangulos, l.indices), 1));
    g.computeBoundingSphere();
    const malla = new THREE.Mesh(g, materiales[l.material]);
    malla.name = `lote_${i}`;
    modelo.add(malla);
  }
  const cajas = new Map();
  const tramos = new Map();
  for (const n of d.nodos) {
    // The first of a name: the level places many objects of one kind, each a node so named.
    if (cajas.has(n.nombre)) continue;
    cajas.set(n.nombre, new THREE.Box3(new THREE.Vector3(...n.minimo), new THREE.Vector3(...n.maximo)));
    tramos.set(n.nombre, n.tramos);
  }
  return { modelo, cajas, tramos };
}

// What the canvas shows: one glTF model as the core exported it, drawn by three.js. Orbit, zoom
// and pan about it, a fly camera for walking through a level, textured or wireframe. Frames are
// drawn when something changes, not in a loop, except while flying or playing.
import * as THREE from 'three';
import { GLTFLoader } from 'three/addons/loaders/GLTFLoader.js';
import { OrbitControls } from 'three/addons/controls/OrbitControls.js';
import { armarLotes, muestrario } from './lotes.js';

const FONDO = 0x202428;

export class Visor {
  constructor(lienzo) {
    this.lienzo = lienzo;
    // The drawing buffer is kept so a test (or a screenshot) can read what is on show.
    this.renderer = new THREE.WebGLRenderer({ canvas: lienzo, antialias: false, preserveDrawingBuffer: true });
    this.renderer.setPixelRatio(Math.min(window.devicePixelRatio, 2));
    this.escena = new THREE.Scene();
    this.escena.background = new THREE.Color(FONDO);
    this.camara = new THREE.PerspectiveCamera(50, 1, 0.01, 1000);
    this.camara.position.set(2, 1.5, 3);
    this.orbita = new OrbitControls(this.camara, lienzo);
    this.orbita.addEventListener('change', () => this.dibujar());
    this.cargador = new GLTFLoader();
    this.modelo = null;
    this.alambre = false;
    this.vuelo = new Vuelo(this.camara, lienzo, () => this.dibujar());
    this.reloj = new THREE.Clock();
    this.mezclador = null;
    new ResizeObserver(() => this.ajustarTamano()).observe(lienzo);
    this.ajustarTamano();
    this.muestrario = muestrario();
    const camara = new THREE.PerspectiveCamera(50, 1, 0.01, 10);
    this.renderer.render(this.muestrario, camara);
    this.dibujar();
  }

  ajustarTamano() {
    const { clientWidth: ancho, clientHeight: alto } = this.lienzo;
    if (!ancho || !alto) return;
    this.renderer.setSize(ancho, alto, false);
    this.camara.aspect = ancho / alto;
    this.camara.updateProjectionMatrix();
    this.dibujar();
  }

  // Parses the .glb and shows it in place of what was on show, in its first view (see
  // encuadrar); resolves once the first frame is drawn. A model that cannot be parsed leaves what
  // was on show.
  async mostrar(glb, inicial = null) {
    const gltf = await this.cargador.parseAsync(glb.buffer.slice(glb.byteOffset, glb.byteOffset + glb.byteLength), '');
    this.poner(gltf.scene, gltf.animations ?? [], inicial, null);
  }

  // The same for the level as the core lays it out for drawing (lotes.js); synchronous. With
  // `mantener` the camera stays where it is (the same level with other rooms flipped).
  mostrarLotes({ lotes, texels }, inicial = null, mantener = false) {
    const { modelo, cajas, tramos } = armarLotes(lotes, texels);
    this.poner(modelo, [], inicial, cajas, mantener);
    this.tramos = tramos;
  }

  poner(modelo, animaciones, inicial, cajas, mantener = false) {
    if (this.modelo) {
      this.escena.remove(this.modelo);
      liberar(this.modelo);
    }
    // Another model: what was marked in the last is not in it.
    if (!mantener) this.marcarCaja(null);
    this.reproduciendo = false;
    this.modelo = modelo;
    this.cajas = cajas;
    this.tramos = null;
    this.inicial = inicial;
    this.animaciones = animaciones;
    this.mezclador = this.animaciones.length ? new THREE.AnimationMixer(this.modelo) : null;
    this.escena.add(this.modelo);
    this.ponerAlambre(this.alambre);
    if (mantener) this.dibujar();
    else this.encuadrar();
    // The frame is really drawn once the GPU has finished it.
    this.renderer.getContext().finish();
  }

  // The box of the model's node of that name, empty when there is none.
  cajaDe(nombre) {
    if (this.cajas) return this.cajas.get(nombre)?.clone() ?? new THREE.Box3();
    const objeto = this.modelo.getObjectByName(nombre);
    return objeto ? new THREE.Box3().setFromObject(objeto) : new THREE.Box3();
  }

  // Frames the node of that name (a room of the level), or goes back to the model's first view:
  // from the eye given at mostrar towards its pivot ({ ojo, pivote }), round the nodes given
  // ({ nodos }: names), or round the whole model.
  encuadrar(nombre) {
    if (!this.modelo) return;
    const todo = new THREE.Box3().setFromObject(this.modelo);
    const v = this.inicial;
    if (!nombre && v?.ojo && !todo.isEmpty()) {
      this.situar(new THREE.Vector3(...v.ojo), new THREE.Vector3(...v.pivote), todo);
      return;
    }
    const caja = new THREE.Box3();
    for (const n of nombre ? [nombre] : v?.nodos ?? []) caja.union(this.cajaDe(n));
    this.encuadrarCaja(caja.isEmpty() ? todo : caja, todo);
  }

  // The camera at `ojo` looking at `pivote`, orbiting about it, with planes that hold the whole
  // model `todo` in front of it however far it flies.
  situar(ojo, pivote, todo) {
    const esfera = todo.getBoundingSphere(new THREE.Sphere());
    const radio = Math.max(esfera.radius, 1e-3);
    const lejos = ojo.distanceTo(esfera.center) + radio * 1.05;
    // From inside the model the near plane cannot follow the sphere: a centimetre or so keeps
    // what stands close in front of the eye, and the depth buffer's precision with it.
    this.camara.near = Math.max(0.015, lejos / 20000);
    this.camara.far = lejos + radio * 2;
    this.camara.position.copy(ojo);
    this.camara.updateProjectionMatrix();
    this.orbita.target.copy(pivote);
    this.orbita.update();
    this.vuelo.velocidad = radio / 2;
    this.dibujar();
  }

  // As close as keeps each corner of `caja` in view, from above and to one side; the planes
  // hold the whole model `todo`.
  encuadrarCaja(caja, todo) {
    if (caja.isEmpty()) {
      this.dibujar();
      return;
    }
    const esfera = caja.getBoundingSphere(new THREE.Sphere());
    const radio = Math.max(esfera.radius, 1e-3);
    const direccion = new THREE.Vector3(0.6, 0.5, 1).normalize();
    const derecha = new THREE.Vector3(0, 1, 0).cross(direccion).normalize();
    const arriba = direccion.clone().cross(derecha);
    const tanV = Math.tan(THREE.MathUtils.degToRad(this.camara.fov / 2));
    const tanH = tanV * this.camara.aspect;
    let distancia = 1e-3;
    for (let i = 0; i < 8; i++) {
      const q = new THREE.Vector3(i & 1 ? caja.max.x : caja.min.x, i & 2 ? caja.max.y : caja.min.y, i & 4 ? caja.max.z : caja.min.z).sub(esfera.center);
      const fondo = q.dot(direccion);
      distancia = Math.max(distancia, fondo + Math.abs(q.dot(derecha)) / tanH, fondo + Math.abs(q.dot(arriba)) / tanV);
    }
    distancia *= 1.05;
    const total = todo.getBoundingSphere(new THREE.Sphere());
    const ojo = esfera.center.clone().addScaledVector(direccion, distancia);
    const hastaTodo = ojo.distanceTo(total.center) + total.radius;
    this.camara.near = Math.max(distancia - radio, distancia / 1000) / 10;
    this.camara.far = Math.max(distancia + radio * 4, hastaTodo);
    this.camara.position.copy(ojo);
    this.camara.updateProjectionMatrix();
    this.orbita.target.copy(esfera.center);
    this.orbita.update();
    this.vuelo.velocidad = radio / 2;
    this.dibujar();
  }

  // The room of the level under the canvas point (clientX, clientY) and the point hit, in the
  // model's axes: { cuarto, punto } or null where no room is hit. A placed object in front of
  // the floor is seen through: it is the room's sector that is asked for.
  cuartoEn(clientX, clientY) {
    if (!this.modelo || !this.tramos) return null;
    const r = this.lienzo.getBoundingClientRect();
    const ndc = new THREE.Vector2(((clientX - r.left) / r.width) * 2 - 1, -((clientY - r.top) / r.height) * 2 + 1);
    const rayo = new THREE.Raycaster();
    rayo.setFromCamera(ndc, this.camara);
    for (const golpe of rayo.intersectObject(this.modelo, true)) {
      const lote = Number(/^lote_(\d+)$/.exec(golpe.object.name)?.[1]);
      const indice = golpe.faceIndex * 3;
      for (const [nombre, tramos] of this.tramos) {
        const cuarto = /^cuarto_(\d+)$/.exec(nombre);
        if (cuarto && tramos.some(([l, primero, cuantos]) => l === lote && indice >= primero && indice < primero + cuantos))
          return { cuarto: Number(cuarto[1]), punto: golpe.point };
      }
    }
    return null;
  }

  // Outlines a box ([minimo, maximo], model axes) until another is marked; null clears it.
  marcarCaja(caja) {
    if (this.marca) {
      this.escena.remove(this.marca);
      this.marca.geometry.dispose();
      this.marca.material.dispose();
      this.marca = null;
    }
    if (caja) {
      const b = new THREE.Box3(new THREE.Vector3(...caja[0]), new THREE.Vector3(...caja[1]));
      this.marca = new THREE.Box3Helper(b, 0xffd400);
      this.escena.add(this.marca);
    }
    this.dibujar();
  }

  // Flies to a box ([minimo, maximo], model axes), the whole model kept within the planes.
  encuadrarCajaDe(caja) {
    if (!this.modelo) return;
    const b = new THREE.Box3(new THREE.Vector3(...caja[0]), new THREE.Vector3(...caja[1]));
    this.encuadrarCaja(b, new THREE.Box3().setFromObject(this.modelo));
  }

  ponerAlambre(alambre) {
    this.alambre = alambre;
    this.modelo?.traverse((o) => {
      for (const m of [o.material ?? []].flat()) m.wireframe = alambre;
    });
    this.dibujar();
  }

  // Orbiting about the model, or flying through it.
  ponerVuelo(volar) {
    this.orbita.enabled = !volar;
    this.vuelo.activar(volar);
    if (!volar) {
      // Orbit again about the point ahead of where the flight ended.
      const delante = new THREE.Vector3(0, 0, -1).applyQuaternion(this.camara.quaternion);
      this.orbita.target.copy(this.camara.position).addScaledVector(delante, this.vuelo.velocidad * 2);
      this.orbita.update();
    }
    this.bucle();
  }

  // Plays the model's animation `indice` (-1 stops). `sonidos`, [{ cuadro, id }] with the game
  // frame counted from the animation's first, go to alSonar(id) as the animation reaches them.
  animar(indice, sonidos = []) {
    if (!this.mezclador) return;
    this.mezclador.stopAllAction();
    this.accion = null;
    if (indice >= 0 && this.animaciones[indice]) {
      this.accion = this.mezclador.clipAction(this.animaciones[indice]);
      this.accion.play();
    }
    this.sonidos = sonidos;
    this.tiempoSonado = 0;
    this.reproduciendo = indice >= 0;
    this.bucle();
  }

  // The sounds of the frames from the last step's time to this one's; across the loop's end,
  // the rest of the turn and the start of the next.
  sonar() {
    if (!this.accion || !this.sonidos?.length || !this.alSonar) return;
    const antes = this.tiempoSonado * 30;
    const ahora = this.accion.time * 30;
    const entre = (desde, hasta) => {
      for (const s of this.sonidos) if (s.cuadro >= desde && s.cuadro < hasta) this.alSonar(s.id);
    };
    if (ahora >= antes) entre(antes, ahora);
    else {
      entre(antes, Infinity);
      entre(0, ahora);
    }
    this.tiempoSonado = this.accion.time;
  }

  bucle() {
    if (this.enBucle) return;
    this.enBucle = true;
    this.reloj.getDelta();
    const paso = () => {
      const dt = this.reloj.getDelta();
      const sigue = this.vuelo.activo || this.reproduciendo;
      if (!sigue) {
        this.enBucle = false;
        return;
      }
      this.vuelo.avanzar(dt);
      this.mezclador?.update(dt);
      this.sonar();
      this.dibujar();
      requestAnimationFrame(paso);
    };
    requestAnimationFrame(paso);
  }

  dibujar() {
    this.renderer.render(this.escena, this.camara);
  }
}

function liberar(raiz) {
  raiz.traverse((o) => {
    o.geometry?.dispose();
    for (const m of [o.material ?? []].flat()) {
      m.map?.dispose();
      m.dispose();
    }
  });
}

// A first-person camera: keys move it along where it looks, dragging turns it.
class Vuelo {
  constructor(camara, lienzo, dibujar) {
    this.camara = camara;
    this.lienzo = lienzo;
    this.dibujar = dibujar;
    this.activo = false;
    this.velocidad = 1;
    this.teclas = new Set();
    this.euler = new THREE.Euler(0, 0, 0, 'YXZ');
    window.addEventListener('keydown', (e) => this.activo && !esCampo(e.target) && this.teclas.add(e.code));
    window.addEventListener('keyup', (e) => this.teclas.delete(e.code));
    window.addEventListener('blur', () => this.teclas.clear());
    let ultimo = null;
    lienzo.addEventListener('pointerdown', (e) => {
      if (!this.activo) return;
      ultimo = [e.clientX, e.clientY];
      lienzo.setPointerCapture(e.pointerId);
    });
    lienzo.addEventListener('pointerup', () => (ultimo = null));
    lienzo.addEventListener('pointermove', (e) => {
      if (!this.activo || !ultimo) return;
      this.euler.setFromQuaternion(this.camara.quaternion);
      this.euler.y -= (e.clientX - ultimo[0]) * 0.005;
      this.euler.x = THREE.MathUtils.clamp(this.euler.x - (e.clientY - ultimo[1]) * 0.005, -1.55, 1.55);
      this.camara.quaternion.setFromEuler(this.euler);
      ultimo = [e.clientX, e.clientY];
      this.dibujar();
    });
  }

  activar(activo) {
    this.activo = activo;
    this.teclas.clear();
  }

  avanzar(dt) {
    if (!this.activo || this.teclas.size === 0) return;
    const paso = this.velocidad * dt * (this.teclas.has('ShiftLeft') ? 4 : 1);
    const mover = (x, y, z) => {
      const v = new THREE.Vector3(x, 0, z).applyQuaternion(this.camara.quaternion);
      v.y += y;
      this.camara.position.addScaledVector(v, paso);
    };
    if (this.teclas.has('KeyW') || this.teclas.has('ArrowUp')) mover(0, 0, -1);
    if (this.teclas.has('KeyS') || this.teclas.has('ArrowDown')) mover(0, 0, 1);
    if (this.teclas.has('KeyA') || this.teclas.has('ArrowLeft')) mover(-1, 0, 0);
    if (this.teclas.has('KeyD') || this.teclas.has('ArrowRight')) mover(1, 0, 0);
    if (this.teclas.has('KeyR')) mover(0, 1, 0);
    if (this.teclas.has('KeyF')) mover(0, -1, 0);
  }
}

// Keys typed into a list or a text field are theirs, not the camera's.
function esCampo(elemento) {
  return ['SELECT', 'TEXTAREA'].includes(elemento?.tagName) || (elemento?.tagName === 'INPUT' && elemento.type !== 'radio');
}

// The core module's calls as JavaScript: bytes in, bytes or a reason out. Shared by the page's
// worker and the tests, whatever WASI the instance was given.

// What the page can show, by the names the core gives its choices; the core says which value
// its calls take for each (elegido).
export const Tipo = Object.freeze({ MESH: 'mesh', MOVIBLE: 'movible', ESTATICO: 'estatico', NIVEL: 'nivel', LARA: 'lara' });

export class Nucleo {
  constructor(instancia) {
    this.x = instancia.exports;
    this.elegidos = null;
  }

  // The value the core's calls take for the choice named `tipo`; -1 for a name it lacks.
  elegido(tipo) {
    if (!this.elegidos) {
      this.x.tr4_elegidos();
      this.elegidos = JSON.parse(this.texto());
    }
    return this.elegidos[tipo] ?? -1;
  }

  // The result of the last call, copied out of the module's memory.
  resultado() {
    const p = this.x.tr4_resultado();
    const n = this.x.tr4_tamano_resultado();
    return new Uint8Array(this.x.memory.buffer, p, n).slice();
  }

  texto() {
    return new TextDecoder().decode(this.resultado());
  }

  idioma(ingles) {
    this.x.tr4_idioma(ingles ? 1 : 0);
  }

  // Asked before a file is read: { ok } or { ok: false, motivo }.
  admitirTamano(bytes) {
    return this.x.tr4_admitir_tamano(bytes) ? { ok: true } : { ok: false, motivo: this.texto() };
  }

  // { ok, indice } with what the page lists, or { ok: false, motivo }; a refused file leaves
  // the level open before.
  abrir(bytes) {
    const p = this.x.tr4_reservar(bytes.length);
    if (!p) return { ok: false, sinMemoria: true };
    try {
      new Uint8Array(this.x.memory.buffer, p, bytes.length).set(bytes);
      const ok = this.x.tr4_abrir(p, bytes.length);
      return ok ? { ok: true, indice: JSON.parse(this.texto()) } : { ok: false, motivo: this.texto() };
    } finally {
      this.x.tr4_liberar(p);
    }
  }

  // { ok, glb } or { ok: false, motivo }.
  exportar(tipo, numero = 0) {
    return this.x.tr4_exportar(this.elegido(tipo), numero)
      ? { ok: true, glb: this.resultado() }
      : { ok: false, motivo: this.texto() };
  }

  // { ok, sonidos: { sonidos: [{ id, muestras }], muestras: [{ legible, motivo }] } }.
  sonidos() {
    return this.x.tr4_sonidos() ? { ok: true, sonidos: JSON.parse(this.texto()) } : { ok: false, motivo: this.texto() };
  }

  // { ok, sonidos: [{ cuadro, id }] }: the sound commands of the level's animation a.
  sonidosAnimacion(a) {
    return this.x.tr4_sonidos_animacion(a) ? { ok: true, sonidos: JSON.parse(this.texto()) } : { ok: false, motivo: this.texto() };
  }

  // { ok, wave } with sample i's WAVE bytes, or { ok: false, motivo }.
  muestra(i) {
    return this.x.tr4_muestra(i) ? { ok: true, wave: this.resultado() } : { ok: false, motivo: this.texto() };
  }

  // { ok, logica: { logica, textos, tipos, acciones } }: every trigger as `tr4tool triggers
  // --json` lists it, each on one line for people, and the names of types and actions.
  logica() {
    return this.x.tr4_logica() ? { ok: true, ...JSON.parse(this.texto()) } : { ok: false, motivo: this.texto() };
  }

  // { ok, sector } with sector (x, z) of room `cuarto`'s floor data and box, or { ok: false,
  // motivo }. With `punto`, x and z are a point of the model and the sector is the one under it.
  sector(cuarto, x, z, punto = false) {
    return this.x.tr4_sector(cuarto, x, z, punto ? 1 : 0)
      ? { ok: true, sector: JSON.parse(this.texto()) }
      : { ok: false, motivo: this.texto() };
  }

  // Alternate group `grupo` (-1: all) flipped or not in the next nivel().
  voltear(grupo, volteado) {
    return this.x.tr4_voltear(grupo, volteado ? 1 : 0) ? { ok: true } : { ok: false, motivo: this.texto() };
  }

  // The whole level as the page draws it: { ok, lotes, texels } or { ok: false, motivo }. lotes is
  // an ArrayBuffer of its own laid out as web/nucleo/LotesPagina.h says; texels, one ArrayBuffer
  // per page its description lists, in that order, each page's texels as the level holds them
  // (B, G, R, A).
  nivel() {
    if (!this.x.tr4_nivel()) return { ok: false, motivo: this.texto() };
    const lotes = this.resultado().buffer;
    const largo = new DataView(lotes).getUint32(0, true);
    const { paginas, lado } = JSON.parse(new TextDecoder().decode(new Uint8Array(lotes, 4, largo)));
    const texels = paginas.map((p) => new Uint8Array(this.x.memory.buffer, this.x.tr4_texels(p), lado * lado * 4).slice().buffer);
    return { ok: true, lotes, texels };
  }

  paginas() {
    return this.x.tr4_paginas();
  }

  // { ok, png, nombre } with the name the core gives its file, or { ok: false, motivo }.
  pagina(i) {
    if (!this.x.tr4_pagina(i)) return { ok: false, motivo: this.texto() };
    const png = this.resultado();
    this.x.tr4_nombre_pagina(i);
    return { ok: true, png, nombre: this.texto() };
  }

  // { ok, nombre }: the name the core gives exportar(tipo, numero)'s .glb, after the level file
  // `archivo` (its name as picked), or { ok: false, motivo }.
  nombreExportacion(tipo, numero, archivo) {
    const que = this.elegido(tipo);
    const bytes = new TextEncoder().encode(archivo);
    const p = this.x.tr4_reservar(bytes.length);
    if (!p) return { ok: false, sinMemoria: true };
    try {
      new Uint8Array(this.x.memory.buffer, p, bytes.length).set(bytes);
      return this.x.tr4_nombre_exportacion(que, numero, p, bytes.length)
        ? { ok: true, nombre: this.texto() }
        : { ok: false, motivo: this.texto() };
    } finally {
      this.x.tr4_liberar(p);
    }
  }
}

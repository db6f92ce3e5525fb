// The core module's calls as JavaScript: bytes in, bytes or a reason out. Shared by the page's
// worker and the tests, whatever WASI the instance was given.

export const Tipo = Object.freeze({ MESH: 0, MOVIBLE: 1, ESTATICO: 2, NIVEL: 3, LARA: 4 });

export class Nucleo {
  constructor(instancia) {
    this.x = instancia.exports;
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
    if (!p) return { ok: false, motivo: null };
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
    return this.x.tr4_exportar(tipo, numero)
      ? { ok: true, glb: this.resultado() }
      : { ok: false, motivo: this.texto() };
  }

  // The whole level as the page draws it: { ok, lotes } (an ArrayBuffer of its own, laid out as
  // web/nucleo/LotesPagina.h says) or { ok: false, motivo }.
  nivel() {
    return this.x.tr4_nivel() ? { ok: true, lotes: this.resultado().buffer } : { ok: false, motivo: this.texto() };
  }

  paginas() {
    return this.x.tr4_paginas();
  }

  // { ok, png } or { ok: false, motivo }.
  pagina(i) {
    return this.x.tr4_pagina(i) ? { ok: true, png: this.resultado() } : { ok: false, motivo: this.texto() };
  }
}

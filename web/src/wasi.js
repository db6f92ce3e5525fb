// The few WASI calls the core makes, for a browser that has no WASI: no files, no environment
// (the language is set by a call), what it writes to its standard streams handed to `escribir`.
// Any call the core may come to make beyond these answers "not supported" instead of failing
// the module's instantiation.

const EXITO = 0;
const ESPIPE = 70;
const ENOSYS = 52;
const EBADF = 8;

export class SalidaWasi extends Error {
  constructor(codigo) {
    super(`el núcleo terminó (código ${codigo})`);
    this.codigo = codigo;
  }
}

export function wasiMinimo(escribir = () => {}) {
  let memoria = null;
  const vista = () => new DataView(memoria.buffer);
  const decodificador = new TextDecoder();
  const llamadas = {
    environ_sizes_get(pCuenta, pTamano) {
      vista().setUint32(pCuenta, 0, true);
      vista().setUint32(pTamano, 0, true);
      return EXITO;
    },
    environ_get: () => EXITO,
    fd_write(fd, iovs, cuantos, pEscritos) {
      const v = vista();
      let total = 0;
      let texto = '';
      for (let i = 0; i < cuantos; i++) {
        const base = v.getUint32(iovs + 8 * i, true);
        const largo = v.getUint32(iovs + 8 * i + 4, true);
        texto += decodificador.decode(new Uint8Array(memoria.buffer, base, largo));
        total += largo;
      }
      escribir(fd, texto);
      v.setUint32(pEscritos, total, true);
      return EXITO;
    },
    // No directory is opened for it: the C library, which asks at start since libsndfile (that
    // can open files) is linked in, takes "bad descriptor" as the end of that list and goes on,
    // and "not supported" as a reason to stop.
    fd_prestat_get: () => EBADF,
    fd_seek: () => ESPIPE,
    fd_close: () => EXITO,
    proc_exit(codigo) {
      throw new SalidaWasi(codigo);
    },
  };
  const importaciones = {
    wasi_snapshot_preview1: new Proxy(llamadas, {
      get: (o, nombre) => o[nombre] ?? (() => ENOSYS),
    }),
  };
  return {
    importaciones,
    // A reactor: its constructors run once, before the first call.
    iniciar(instancia) {
      memoria = instancia.exports.memory;
      instancia.exports._initialize();
    },
  };
}

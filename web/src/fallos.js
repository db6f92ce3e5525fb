// What the page says when something fails: the core's own reason when it gave one, and "out of
// memory" only when that is what happened, so that a real fault is not taken for a small browser.

// Inside the worker: a call that blew up, as an answer. The core marks a failed allocation
// before it traps (tr4_sin_memoria), and the browser's own allocations fail with a RangeError;
// anything else is a fault, named by its message.
export function falloDe(error, nucleo) {
  let agotada = false;
  try {
    agotada = Boolean(nucleo?.x.tr4_sin_memoria?.());
  } catch {
    // An instance past recovery says nothing more.
  }
  if (agotada || (error instanceof RangeError && /memory|allocat/i.test(error.message)))
    return { ok: false, sinMemoria: true };
  return { ok: false, fallo: String(error?.message ?? error) };
}

// On the page: the line that says why an answer `r` failed, with the texts `t` (textos.js).
export function motivoDe(r, t) {
  if (r.motivo) return r.motivo;
  if (r.ilegible) return t('noLeible', { motivo: r.ilegible });
  if (r.sinMemoria) return t('sinMemoria');
  return t('fallo', { motivo: r.fallo || t('sinRazon') });
}

// The level's sounds, one button each; a press plays one of its samples through Web Audio, the
// browser decoding the WAVE the level stores. What was played is noted on body[data-sonido], and
// the sounds an animation asked for on body[data-oidos].
export class Sonidos {
  // pedir(orden, datos): the worker's answer; t: the texts; avisar(texto): the page's notice;
  // motivoDe(r): why an answer failed; lista, bloque: the buttons' place and the panel round it.
  constructor({ pedir, t, avisar, motivoDe, lista, bloque }) {
    Object.assign(this, { pedir, t, avisar, motivoDe, lista, bloque });
    this.audio = null;
    this.porId = new Map();
  }

  async llenar() {
    const r = await this.pedir('sonidos');
    const lista = r.ok ? r.sonidos.sonidos : [];
    this.porId = new Map(lista.map((s) => [s.id, s]));
    this.bloque.hidden = lista.length === 0;
    this.lista.replaceChildren(
      ...lista.map((s) => {
        const b = document.createElement('button');
        b.type = 'button';
        b.textContent = this.t('sonido', { id: s.id });
        b.dataset.id = s.id;
        b.disabled = s.muestras.length === 0;
        b.addEventListener('click', () => this.tocar(s));
        return b;
      }),
    );
  }

  // A sound command of the playing animation: heard when the level has the sound. Each id is
  // noted on the page (the last few), so that what the animation asked for can be seen.
  alSonar(id) {
    const cuerpo = document.body;
    cuerpo.dataset.oidos = [...(cuerpo.dataset.oidos?.split(',') ?? []), id].slice(-16).join(',');
    const s = this.porId.get(id);
    if (s?.muestras.length) this.tocar(s);
  }

  async tocar(sonido) {
    // The game picks one of a sound's samples at random each time.
    const muestra = sonido.muestras[Math.floor(Math.random() * sonido.muestras.length)];
    const r = await this.pedir('muestra', { indice: muestra });
    try {
      if (!r.ok) throw new Error(this.motivoDe(r));
      this.audio ??= new AudioContext();
      const datos = await this.audio.decodeAudioData(r.wave.buffer);
      const fuente = this.audio.createBufferSource();
      fuente.buffer = datos;
      fuente.connect(this.audio.destination);
      fuente.start();
      document.body.dataset.sonido = `${sonido.id}:${muestra}:${datos.duration.toFixed(3)}`;
    } catch (e) {
      this.avisar(this.t('noSuena', { id: sonido.id, motivo: String(e?.message ?? e) }));
      document.body.dataset.sonido = `${sonido.id}:${muestra}:error`;
    }
  }
}

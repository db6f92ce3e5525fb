// The worker of the served page: a module script beside it.
export function crearTrabajador() {
  return new Worker(new URL('./trabajador.js', import.meta.url), { type: 'module' });
}

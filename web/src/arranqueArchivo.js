// The worker of the page as one file: its script is inside the page and starts from a Blob URL,
// which a page opened from disk allows only for a classic script.
import Trabajador from './trabajador.js?worker&inline';

export function crearTrabajador() {
  return new Trabajador();
}

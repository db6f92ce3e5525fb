// The core's module for the page as one file: its bytes are inside the worker's script, as a
// data URL in base64, since a page opened from disk can fetch nothing beside it.
import DATOS from '../../build/wasm/tr4nucleo.wasm?url&inline';

export function compilarNucleo() {
  const base64 = DATOS.slice(DATOS.indexOf(',') + 1);
  const binario = atob(base64);
  const bytes = new Uint8Array(binario.length);
  for (let i = 0; i < binario.length; i++) bytes[i] = binario.charCodeAt(i);
  return WebAssembly.compile(bytes);
}

// The core's module for the served page: fetched from beside the worker.
const URL_NUCLEO = new URL('../../build/wasm/tr4nucleo.wasm', import.meta.url);

export async function compilarNucleo() {
  try {
    return await WebAssembly.compileStreaming(fetch(URL_NUCLEO));
  } catch {
    // A static host that serves .wasm under another type: compile from the bytes.
    const respuesta = await fetch(URL_NUCLEO);
    return WebAssembly.compile(await respuesta.arrayBuffer());
  }
}

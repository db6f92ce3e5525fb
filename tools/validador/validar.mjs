// Checks one glTF export (.glb, or .gltf with the files it names beside it) with the Khronos glTF
// Validator. Prints the validator's report as JSON; exits 1 when it holds an error or a warning,
// 2 when the file cannot be read. Infos and hints are left to the caller to judge.
import { readFile } from 'node:fs/promises';
import path from 'node:path';
import validator from 'gltf-validator';

const archivo = process.argv[2];
if (!archivo) {
  console.error('uso: node validar.mjs ARCHIVO.glb|ARCHIVO.gltf');
  process.exit(2);
}
let bytes;
try {
  bytes = new Uint8Array(await readFile(archivo));
} catch (e) {
  console.error(`validar: ${archivo}: ${e.message}`);
  process.exit(2);
}
const carpeta = path.dirname(archivo);
const informe = await validator.validateBytes(bytes, {
  uri: path.basename(archivo),
  maxIssues: 0,
  externalResourceFunction: (uri) =>
    readFile(path.join(carpeta, decodeURIComponent(uri))).then((b) => new Uint8Array(b)),
});
console.log(JSON.stringify(informe, null, 2));
process.exit(informe.issues.numErrors > 0 || informe.issues.numWarnings > 0 ? 1 : 0);

// Whether two .glb files hold the same model: the same JSON once every fraction is rounded to
// four places (two C libraries' sines differ in the last bit of a float) and a binary chunk of
// the same length. Exits 1 with the first difference when they do not.
//   node EstructuraGLB.mjs A.glb B.glb
import { readFileSync } from 'node:fs';

function leer(archivo) {
  const b = readFileSync(archivo);
  if (b.length < 20 || b.readUInt32LE(0) !== 0x46546c67) throw new Error(`${archivo}: not a .glb`);
  const largo = b.readUInt32LE(12);
  const json = JSON.parse(b.subarray(20, 20 + largo).toString('utf8'), (_, v) =>
    typeof v === 'number' && !Number.isInteger(v) ? Math.round(v * 1e4) / 1e4 : v);
  const resto = b.length - 20 - largo;
  return { json: JSON.stringify(json), binario: resto > 8 ? b.readUInt32LE(20 + largo) : 0 };
}

const [a, b] = process.argv.slice(2).map(leer);
if (a.binario !== b.binario) {
  console.error(`binary chunks of ${a.binario} and ${b.binario} bytes`);
  process.exit(1);
}
if (a.json !== b.json) {
  let i = 0;
  while (a.json[i] === b.json[i]) i++;
  console.error(`the JSON differs at ${i}: ${a.json.slice(i - 80, i + 40)} / ${b.json.slice(i - 80, i + 40)}`);
  process.exit(1);
}

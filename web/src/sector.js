// A sector's floor data as the window's details list it: (name, value) rows from the core's
// answer `s` with the texts `t` (textos.js), and those rows into a <dl>.

const ESQUINA = ['x-z-', 'x-z+', 'x+z-', 'x+z+'];

export function filasSector(s, t) {
  const filas = [[t('sector'), t('sectorDe', { cuarto: s.room, x: s.x, z: s.z })]];
  const superficie = (nombre, corte, sup) => {
    filas.push([nombre, sup.y.join(', ')]);
    if (sup.diagonal) {
      let texto = t(sup.diagonal[0] === 1 ? 'diagonal12' : 'diagonal03');
      if (sup.portal_half >= 0) texto += t('mitadPortal', { esquina: ESQUINA[sup.portal_half] });
      filas.push([corte, texto]);
    }
    if (sup.slant[0] || sup.slant[1]) filas.push([`${nombre}: ${t('inclinacion')}`, sup.slant.join(', ')]);
  };
  superficie(t('sueloEsquinas'), t('corteSuelo'), s.floor);
  superficie(t('techoEsquinas'), t('corteTecho'), s.ceiling);
  if (s.portal >= 0) filas.push([t('portalCuarto'), String(s.portal)]);
  if (s.room_below >= 0) filas.push([t('cuartoAbajo'), String(s.room_below)]);
  if (s.room_above >= 0) filas.push([t('cuartoArriba'), String(s.room_above)]);
  const marcas = [];
  if (s.kill) marcas.push(t('muerte'));
  if (s.climb) marcas.push(t('trepar', { lados: ['+z', '+x', '-z', '-x'].filter((_, k) => s.climb & (1 << k)).join(', ') }));
  if (s.monkey) marcas.push(t('mono'));
  if (s.trigger_triggerer) marcas.push(t('diferido'));
  if (s.beetle) marcas.push(t('escarabajo'));
  if (marcas.length) filas.push([t('marcas'), marcas.join(', ')]);
  if (s.trigger_text) filas.push([t('disparador'), s.trigger_text]);
  for (const a of s.warnings) filas.push([t('aviso'), a]);
  return filas;
}

export function listarFilas(dl, filas) {
  dl.replaceChildren(
    ...filas.flatMap(([nombre, valor]) => {
      const dt = document.createElement('dt');
      dt.textContent = nombre;
      const dd = document.createElement('dd');
      dd.textContent = valor;
      return [dt, dd];
    }),
  );
}

#include "FlujoClasico.h"
#include "Idioma.h"

namespace clasico {

bool Flujo::Cabe(uint64_t cuenta, uint64_t tamano, const std::string& que) {
    if (Fallo())
        return false;
    if (tamano == 0 || cuenta <= Restante() / tamano)
        return true;
    Rechazar(cuenta == 1
                 ? Formatear(Traducir("el archivo termina (%s bytes) sin %s"),
                             {std::to_string(base_ + tamano_), que})
                 : Formatear(Traducir("%s (%s × %s bytes desde la posición %s) no caben en "
                                      "el archivo (%s bytes)"),
                             {que, std::to_string(cuenta), std::to_string(tamano),
                              std::to_string(Posicion()), std::to_string(base_ + tamano_)}));
    return false;
}

const uint8_t* Flujo::Tomar(uint64_t cuenta, uint64_t tamano, const std::string& que) {
    if (!Cabe(cuenta, tamano, que))
        return nullptr;
    const uint8_t* p = datos_ + posicion_;
    posicion_ += size_t(cuenta * tamano);
    return p;
}

void Flujo::Copiar(trBytes& destino, uint64_t cuenta, uint64_t tamano, const std::string& que) {
    destino.clear();
    if (const uint8_t* p = Tomar(cuenta, tamano, que))
        destino.assign(p, p + cuenta * tamano);
}

void Flujo::Arreglo(uint32_t& cuenta, trBytes& destino, uint32_t tamano, const char* nombreCuenta,
                    const char* nombre) {
    cuenta = Valor<uint32_t>(Traducir(nombreCuenta));
    Copiar(destino, cuenta, tamano, Traducir(nombre));
}

Flujo Flujo::Seccion(uint64_t bytes, const std::string& que) {
    const size_t inicio = Posicion();
    const uint8_t* p = Tomar(1, bytes, que);
    return p ? Flujo(p, size_t(bytes), juego_, inicio) : Flujo(nullptr, 0, juego_, inicio);
}

void Flujo::Absorber(const Flujo& seccion) {
    if (seccion.Fallo() && !Fallo())
        motivo_ = seccion.motivo_;
}

void Flujo::Rechazar(const std::string& texto) {
    if (!Fallo())
        motivo_ = Formatear(Traducir("nivel de Tomb Raider %s dañado: %s"),
                            {std::to_string(juego_), texto});
}

void Flujo::NadaTrasLasMuestras() {
    if (!Fallo() && Restante() != 0)
        Rechazar(Formatear(Traducir("sobran %s bytes tras los índices de muestras: alguna cuenta "
                                    "no es la que el archivo guarda"),
                           {std::to_string(Restante())}));
}

void LeerFilasAnimacion(Flujo& f, trNivel& n) {
    f.Arreglo(n.NumCambiosEstado, n.CambiosEstado, 6, PorTraducir("el número de cambios de estado"),
              PorTraducir("los cambios de estado"));
    f.Arreglo(n.NumDespachosAnim, n.DespachosAnim, 8,
              PorTraducir("el número de despachos de animación"),
              PorTraducir("los despachos de animación"));
    f.Arreglo(n.NumComandosAnim, n.ComandosAnim, 2,
              PorTraducir("el número de comandos de animación"),
              PorTraducir("los comandos de animación"));
    f.Arreglo(n.NumArbolesMesh, n.ArbolesMesh, 4, PorTraducir("el número de árboles de meshes"),
              PorTraducir("los árboles de meshes"));
}

void LeerFilasSprite(Flujo& f, trNivel& n) {
    f.Arreglo(n.NumTexturasSprite, n.TexturasSprite, 16,
              PorTraducir("el número de texturas de sprite"),
              PorTraducir("las texturas de sprite"));
    f.Arreglo(n.NumSecuenciasSprite, n.SecuenciasSprite, 8,
              PorTraducir("el número de secuencias de sprite"),
              PorTraducir("las secuencias de sprite"));
}

} // namespace clasico

#include "ArmarElegido.h"

#include "Idioma.h"
#include "NivelAbierto.h"

#include <climits>
#include <vector>

namespace {

std::string RangoDeMeshes(int32_t cantidad) {
    return cantidad <= 0
               ? Traducir("el nivel no tiene meshes")
               : Traducir("los índices válidos van de 0 a ") + std::to_string(cantidad - 1);
}

// The ids a level holds, for a reason that says which to ask for.
template <class T> std::string Ids(const std::vector<T>& objetos) {
    if (objetos.empty())
        return Traducir("el nivel no tiene ninguno");
    std::string ids = Traducir("los hay con id");
    for (size_t i = 0; i < objetos.size(); ++i) {
        if (i == 12) {
            ids += " ...";
            break;
        }
        ids += " " + std::to_string(objetos[i].Id);
    }
    return ids;
}

} // namespace

Hecho ArmarElegido(const NivelAbierto& nivel, Elegido que, int64_t numero, Ensamblaje& armado) {
    static const Lista_Mesh vacia;
    const Lista_Mesh& lista = nivel.Meshes ? *nivel.Meshes : vacia;
    const auto& objetos = nivel.Objetos;
    if (que == Elegido::Movible) {
        for (const trMovible& m : objetos.Movibles)
            if (m.Id == numero) {
                armado = ArmarMovible(m, lista, nivel.Articulaciones);
                return {};
            }
        return Hecho::Fallo(Traducir("no hay movible con id ") + std::to_string(numero) + "; " +
                            Ids(objetos.Movibles));
    }
    if (que == Elegido::Estatico) {
        for (const trEstatico& e : objetos.Estaticos)
            if (e.Id == numero) {
                armado = ArmarEstatico(e, lista);
                return {};
            }
        return Hecho::Fallo(Traducir("no hay estático con id ") + std::to_string(numero) + "; " +
                            Ids(objetos.Estaticos));
    }
    if (numero < 0 || numero > INT32_MAX || !nivel.Mesh(int(numero)))
        return Hecho::Fallo(Traducir("no hay mesh ") + std::to_string(numero) + "; " +
                            RangoDeMeshes(nivel.Cantidad()));
    armado = ArmarMesh(int32_t(numero), lista);
    return {};
}

Hecho MovibleElegido(const NivelAbierto& nivel, int64_t numero, int64_t meshesDe,
                     trMovible& movible) {
    const auto& movibles = nivel.Objetos.Movibles;
    auto buscar = [&](int64_t id) -> const trMovible* {
        for (const trMovible& m : movibles)
            if (m.Id == id)
                return &m;
        return nullptr;
    };
    auto falta = [&](int64_t id) {
        return Hecho::Fallo(Traducir("no hay movible con id ") + std::to_string(id) + "; " +
                            Ids(movibles));
    };
    const trMovible* esqueleto = buscar(numero);
    if (!esqueleto)
        return falta(numero);
    if (meshesDe < 0) {
        movible = *esqueleto;
        return {};
    }
    const trMovible* duenio = buscar(meshesDe);
    if (!duenio)
        return falta(meshesDe);
    bool prestados = false;
    trMovible r = ConMeshesDe(*esqueleto, *duenio, &prestados);
    if (!prestados)
        return Hecho::Fallo(Formatear(
            Traducir("el movible %s tiene %s meshes y el %s, %s: no puede prestarle las suyas"),
            {std::to_string(duenio->Id), std::to_string(duenio->NumMeshes),
             std::to_string(esqueleto->Id), std::to_string(esqueleto->NumMeshes)}));
    movible = std::move(r);
    return {};
}

Hecho AnimacionJugable(const NivelAbierto& nivel, const trMovible& m, int64_t animacion) {
    const auto& lista = nivel.Objetos.Animaciones.Animaciones;
    if (animacion < m.Animacion || animacion >= int64_t{m.Animacion} + m.NumAnimaciones ||
        m.Animacion == trMovible::SIN_ANIMACION) {
        const std::string suyas =
            m.NumAnimaciones == 0
                ? Traducir("no tiene ninguna")
                : Formatear(Traducir("las suyas van de %s a %s"),
                            {std::to_string(m.Animacion),
                             std::to_string(m.Animacion + m.NumAnimaciones - 1)});
        return Hecho::Fallo(Formatear(Traducir("la animación %s no es del movible %s; "),
                                      {std::to_string(animacion), std::to_string(m.Id)}) +
                            suyas);
    }
    const trAnimacion& a = lista[size_t(animacion)];
    if (!a.Jugable())
        return Hecho::Fallo(
            Formatear(Traducir("la animación %s no se puede ver: "), {std::to_string(animacion)}) +
            TextoMotivo(a.Motivo));
    return {};
}

std::string TextoMotivo(trMotivoAnimacion motivo) {
    switch (motivo) {
    case trMotivoAnimacion::Ninguno:
        return "";
    case trMotivoAnimacion::SinDueno:
        return Traducir("no es de ningún movible");
    case trMotivoAnimacion::SinCuadros:
        return Traducir("sus cuadros no están en este nivel");
    case trMotivoAnimacion::TasaCero:
        return Traducir("0 cuadros de juego por cuadro clave");
    case trMotivoAnimacion::RangoInvertido:
        return Traducir("su último cuadro va antes del primero");
    case trMotivoAnimacion::CuadrosFuera:
        return Traducir("sus cuadros pasan del final de los cuadros del nivel");
    case trMotivoAnimacion::CuadroPequeno:
        return Traducir("sus cuadros son pequeños para el árbol del movible");
    case trMotivoAnimacion::SiguienteFuera:
        return Traducir("su siguiente animación no es de este movible");
    case trMotivoAnimacion::CadenaSinFin:
        return Traducir("sus siguientes animaciones dan vueltas sin mostrar un cuadro");
    }
    return "";
}

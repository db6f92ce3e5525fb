#include "LeerAnimaciones.h"

#include "LeerCuadros.h"

#include <algorithm>
#include <cstddef>
#include <cstring>
#include <map>

namespace {

template <class T> T Leer(const uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// Rotation words checked at open over all animations. Real levels hold a few hundred thousand;
// past this a damaged level's overlapping keyframes would make the open take minutes. What is
// left unchecked is still read within bounds when posed.
constexpr uint64_t MAXIMO_PALABRAS_REVISADAS = uint64_t{1} << 23;

// Arguments each command takes after its number; -1 for a number the stream does not know.
int Argumentos(int16_t tipo) {
    switch (tipo) {
    case 1:
        return 3; // position
    case 2:
        return 2; // jump
    case 3:       // empty hands
    case 4:       // kill
        return 0;
    case 5: // sound: frame and sound
    case 6: // effect: frame and effect
        return 2;
    default:
        return -1;
    }
}

// Every keyframe's turns fit within the frame size, for a tree of `meshes`.
bool ClavesCaben(const trNivel& nivel, const trAnimacion& a, uint32_t meshes, uint64_t& presupuesto,
                 trCuadroClave& clave) {
    for (uint32_t k = 0; k < a.Claves; ++k) {
        const uint64_t coste = a.TamanoCuadro;
        if (coste > presupuesto)
            return true; // not checked: the pose reads within bounds anyway
        presupuesto -= coste;
        if (!LeerCuadroClave(nivel, InicioClave(a, k), a.TamanoCuadro, meshes, clave))
            return false;
    }
    return true;
}

} // namespace

void LeerAnimaciones(const trNivel& nivel, trObjetos& objetos) {
    trAnimaciones& t = objetos.Animaciones;
    t = {};
    const size_t n = nivel.Animaciones.size() / trAnimacion::BYTES_EN_ARCHIVO;
    t.Animaciones.resize(n);
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* p = nivel.Animaciones.data() + trAnimacion::BYTES_EN_ARCHIVO * i;
        trAnimacion& a = t.Animaciones[i];
        a.Cuadro = Leer<uint32_t>(p);
        a.Tasa = p[4];
        a.TamanoCuadro = p[5];
        a.Estado = Leer<uint16_t>(p + 6);
        a.Velocidad = Leer<int32_t>(p + 8);
        a.Aceleracion = Leer<int32_t>(p + 12);
        a.VelocidadLateral = Leer<int32_t>(p + 16);
        a.AceleracionLateral = Leer<int32_t>(p + 20);
        a.PrimerCuadro = Leer<uint16_t>(p + 24);
        a.UltimoCuadro = Leer<uint16_t>(p + 26);
        a.Siguiente = Leer<uint16_t>(p + 28);
        a.CuadroSiguiente = Leer<uint16_t>(p + 30);
        a.NumCambios = Leer<uint16_t>(p + 32);
        a.PrimerCambio = Leer<uint16_t>(p + 34);
        a.NumComandos = Leer<uint16_t>(p + 36);
        a.PrimerComando = Leer<uint16_t>(p + 38);
    }
    t.Cambios.resize(nivel.CambiosEstado.size() / trCambioEstado::BYTES_EN_ARCHIVO);
    for (size_t i = 0; i < t.Cambios.size(); ++i) {
        const uint8_t* p = nivel.CambiosEstado.data() + trCambioEstado::BYTES_EN_ARCHIVO * i;
        t.Cambios[i] = {Leer<uint16_t>(p), Leer<uint16_t>(p + 2), Leer<uint16_t>(p + 4)};
    }
    t.Despachos.resize(nivel.DespachosAnim.size() / trDespacho::BYTES_EN_ARCHIVO);
    for (size_t i = 0; i < t.Despachos.size(); ++i) {
        const uint8_t* p = nivel.DespachosAnim.data() + trDespacho::BYTES_EN_ARCHIVO * i;
        t.Despachos[i] = {Leer<uint16_t>(p), Leer<uint16_t>(p + 2), Leer<uint16_t>(p + 4),
                          Leer<uint16_t>(p + 6)};
    }
    t.Comandos.resize(nivel.ComandosAnim.size() / 2);
    if (!t.Comandos.empty())
        std::memcpy(t.Comandos.data(), nivel.ComandosAnim.data(), t.Comandos.size() * 2);

    // Each first animation a moveable names opens a range that the next one closes. Moveables
    // naming the same first share it; the first of them in file order owns it.
    std::map<uint32_t, int32_t> primeras;
    for (size_t i = 0; i < objetos.Movibles.size(); ++i) {
        const trMovible& m = objetos.Movibles[i];
        if (m.Animacion != trMovible::SIN_ANIMACION && m.Animacion < n)
            primeras.try_emplace(m.Animacion, int32_t(i));
    }
    for (trMovible& m : objetos.Movibles) {
        m.NumAnimaciones = 0;
        const auto en = primeras.find(m.Animacion);
        if (en == primeras.end())
            continue;
        const auto siguiente = std::next(en);
        m.NumAnimaciones =
            (siguiente == primeras.end() ? uint32_t(n) : siguiente->first) - en->first;
    }
    for (auto en = primeras.begin(); en != primeras.end(); ++en) {
        const uint32_t fin = std::next(en) == primeras.end() ? uint32_t(n) : std::next(en)->first;
        for (uint32_t i = en->first; i < fin; ++i)
            t.Animaciones[i].Movible = en->second;
    }

    uint64_t presupuesto = MAXIMO_PALABRAS_REVISADAS;
    trCuadroClave clave;
    for (trAnimacion& a : t.Animaciones) {
        using M = trMotivoAnimacion;
        if (a.Movible < 0) {
            a.Motivo = M::SinDueno;
            continue;
        }
        const trMovible& m = objetos.Movibles[size_t(a.Movible)];
        if (a.TamanoCuadro == 0)
            a.Motivo = M::SinCuadros;
        else if (a.Tasa == 0)
            a.Motivo = M::TasaCero;
        else if (a.UltimoCuadro < a.PrimerCuadro)
            a.Motivo = M::RangoInvertido;
        if (a.Motivo != M::Ninguno)
            continue;
        a.Claves = (a.Duracion() + a.Tasa - 1) / a.Tasa + 1;
        const uint32_t inicio = m.Animacion, fin = m.Animacion + m.NumAnimaciones;
        if (InicioClave(a, a.Claves) > nivel.Cuadros.size())
            a.Motivo = M::CuadrosFuera;
        else if (a.TamanoCuadro < 9 + uint32_t{m.NumMeshes} ||
                 !ClavesCaben(nivel, a, m.NumMeshes, presupuesto, clave))
            a.Motivo = M::CuadroPequeno;
        // Its own frames are all there: only going on from it is lost.
        else if (a.Siguiente < inicio || a.Siguiente >= fin)
            a.Enlace = M::SiguienteFuera;
    }

    // Only once every animation's own fault is known: a chain that resumes past the end of
    // each animation it reaches never lands on a frame to show, so the animation loops itself.
    std::vector<bool> jugable(n);
    for (uint32_t i = 0; i < n; ++i)
        jugable[i] = t.Animaciones[i].Jugable();
    for (uint32_t i = 0; i < n; ++i) {
        trAnimacion& a = t.Animaciones[i];
        if (!jugable[i] || a.SiguienteRoto())
            continue;
        const trMovible& m = objetos.Movibles[size_t(a.Movible)];
        uint32_t actual = a.Siguiente, cuadro = a.CuadroSiguiente;
        for (uint32_t pasos = 0;; ++pasos) {
            const trAnimacion& b = t.Animaciones[actual];
            if (!jugable[actual] || cuadro <= b.UltimoCuadro || b.SiguienteRoto())
                break; // a stop, or a frame to show
            if (pasos > m.NumAnimaciones) {
                a.Enlace = trMotivoAnimacion::CadenaSinFin;
                break;
            }
            cuadro = b.CuadroSiguiente;
            actual = b.Siguiente;
        }
    }
}

bool SiguienteDe(const trAnimaciones& todas, uint32_t animacion, uint32_t& siguiente,
                 uint32_t& cuadro) {
    const auto& lista = todas.Animaciones;
    if (animacion >= lista.size() || !lista[animacion].Jugable() ||
        lista[animacion].SiguienteRoto())
        return false;
    const int32_t movible = lista[animacion].Movible;
    uint32_t actual = lista[animacion].Siguiente, resume = lista[animacion].CuadroSiguiente;
    for (size_t pasos = 0; pasos <= lista.size(); ++pasos) {
        if (actual >= lista.size())
            return false;
        const trAnimacion& b = lista[actual];
        if (!b.Jugable() || b.Movible != movible)
            return false;
        if (resume <= b.UltimoCuadro) {
            siguiente = actual;
            cuadro = std::max(resume, uint32_t{b.PrimerCuadro});
            return true;
        }
        resume = b.CuadroSiguiente;
        actual = b.Siguiente;
    }
    return false;
}

std::vector<trComandoAnimacion> ComandosDe(const trAnimaciones& todas, const trAnimacion& a) {
    std::vector<trComandoAnimacion> r;
    size_t i = a.PrimerComando;
    const auto& s = todas.Comandos;
    for (uint32_t c = 0; c < a.NumComandos && i < s.size(); ++c) {
        trComandoAnimacion comando;
        comando.Tipo = s[i];
        const int args = Argumentos(comando.Tipo);
        if (args < 0 || i + 1 + size_t(args) > s.size())
            break;
        comando.NumArgumentos = uint8_t(args);
        for (int k = 0; k < args; ++k)
            comando.Argumentos[k] = s[i + 1 + size_t(k)];
        r.push_back(comando);
        i += 1 + size_t(args);
    }
    return r;
}

std::vector<trCambioEstado> CambiosDe(const trAnimaciones& todas, const trAnimacion& a) {
    const size_t inicio = std::min<size_t>(a.PrimerCambio, todas.Cambios.size());
    const size_t fin = std::min<size_t>(inicio + a.NumCambios, todas.Cambios.size());
    return {todas.Cambios.begin() + ptrdiff_t(inicio), todas.Cambios.begin() + ptrdiff_t(fin)};
}

std::vector<trDespacho> DespachosDe(const trAnimaciones& todas, const trCambioEstado& c) {
    const size_t inicio = std::min<size_t>(c.PrimerDespacho, todas.Despachos.size());
    const size_t fin = std::min<size_t>(inicio + c.NumDespachos, todas.Despachos.size());
    return {todas.Despachos.begin() + ptrdiff_t(inicio), todas.Despachos.begin() + ptrdiff_t(fin)};
}

const char* ClaveMotivo(trMotivoAnimacion motivo) {
    switch (motivo) {
    case trMotivoAnimacion::Ninguno:
        return "";
    case trMotivoAnimacion::SinDueno:
        return "no_owner";
    case trMotivoAnimacion::SinCuadros:
        return "no_frames";
    case trMotivoAnimacion::TasaCero:
        return "zero_frame_rate";
    case trMotivoAnimacion::RangoInvertido:
        return "last_before_first";
    case trMotivoAnimacion::CuadrosFuera:
        return "frames_past_end";
    case trMotivoAnimacion::CuadroPequeno:
        return "frame_too_small";
    case trMotivoAnimacion::SiguienteFuera:
        return "next_outside_object";
    case trMotivoAnimacion::CadenaSinFin:
        return "endless_chain";
    }
    return "";
}

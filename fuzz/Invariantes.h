#pragma once
#include "LeerAnimaciones.h"
// What must hold after any read of any bytes. A broken invariant aborts, so libFuzzer keeps the
// input as a finding just as it keeps a crash.
#include "DecodificarMuestra.h"
#include "LeerCuartos.h"
#include "LeerMeshes.h"
#include "LeerSectores.h"
#include "LeerSonidos.h"
#include "trFilaNivel.h"
#include "trNivel.h"
#include "trObjetos.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#define COMPROBAR(condicion)                                                                       \
    do {                                                                                           \
        if (!(condicion)) {                                                                        \
            std::fprintf(stderr, "invariante rota: %s (%s:%d)\n", #condicion, __FILE__, __LINE__); \
            std::abort();                                                                          \
        }                                                                                          \
    } while (0)

namespace fuzz {

inline bool Utf8Valido(const std::string& s) {
    for (size_t i = 0; i < s.size();) {
        const uint8_t c = static_cast<uint8_t>(s[i]);
        const size_t n = c < 0x80         ? 1
                         : (c >> 5) == 6  ? 2
                         : (c >> 4) == 14 ? 3
                         : (c >> 3) == 30 ? 4
                                          : 0;
        if (n == 0 || i + n > s.size())
            return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<uint8_t>(s[i + k]) & 0xC0) != 0x80)
                return false;
        i += n;
    }
    return true;
}

// The reason a person reads: present, one line, short, and text a terminal or a dialog can show.
inline void ComprobarMotivo(const std::string& motivo) {
    COMPROBAR(!motivo.empty());
    COMPROBAR(motivo.size() <= 300);
    COMPROBAR(motivo.find('\n') == std::string::npos);
    COMPROBAR(Utf8Valido(motivo));
}

// An array read from a count holds all its elements, or (when its bytes were missing) none.
inline bool TodoONada(uint64_t cuenta, uint64_t tamano, size_t bytes) {
    return bytes == 0 || bytes == cuenta * tamano;
}

// A level that loaded: every array the viewer uses holds exactly what its count says, the rest
// hold all or nothing, and nothing together holds more bytes than the level data block (or, for
// a level of the first three games, than `limite`: its records grow on their way to the model).
inline void ComprobarDatosNivel(const trNivel& n, uint64_t limite = 0) {
    const uint64_t bloque = limite != 0 ? limite : n.DatosBloque[3].size();
    uint64_t retenidos = 0;
    auto exacto = [&](uint64_t cuenta, uint64_t tamano, const trBytes& datos) {
        COMPROBAR(datos.size() == cuenta * tamano);
        retenidos += datos.size();
    };
    auto todoONada = [&](uint64_t cuenta, uint64_t tamano, const trBytes& datos) {
        COMPROBAR(TodoONada(cuenta, tamano, datos.size()));
        retenidos += datos.size();
    };
    auto positivo = [](int16_t cuenta) { return uint64_t(cuenta > 0 ? cuenta : 0); };

    COMPROBAR(n.Cuartos.size() == n.NumCuartos);
    for (const trCuarto& c : n.Cuartos) {
        exacto(positivo(c.NumVertices), 12, c.Vertices);
        exacto(positivo(c.NumRectangulos), 10, c.Rectangulos);
        exacto(positivo(c.NumTriangulos), 8, c.Triangulos);
        exacto(positivo(c.NumSprites), 4, c.Sprites);
        exacto(c.NumPortales, 32, c.Portales);
        exacto(uint64_t{c.DimensionSectores1} * c.DimensionSectores2, 8, c.Sectores);
        exacto(c.NumLuces, 46, c.Luces);
        exacto(c.NumMeshesEstaticos, 20, c.MeshesEstaticos);
    }
    // Up to the object textures every array is whole; after them one may be left empty.
    for (const trFilaNivel& f : FILAS_NIVEL) {
        if (f.Clase != trClaseFila::Arreglo || !f.Datos)
            continue;
        const trBytes& datos = *f.Datos(const_cast<trNivel&>(n));
        if (f.Numero < 46)
            exacto(CuentaDeFila(n, f.Numero), f.Tamano, datos);
        else
            todoONada(CuentaDeFila(n, f.Numero), f.Tamano, datos);
    }
    COMPROBAR(n.TexturasObjeto.size() == n.NumTexturasObjeto);
    retenidos += uint64_t{n.NumTexturasObjeto} * trTexturaObjeto::BYTES_EN_ARCHIVO;
    COMPROBAR(retenidos <= bloque);
}

// The bytes one whole mesh record takes with these counts, before its padding to 4 bytes.
inline uint64_t BytesSinRelleno(const trMesh& m) {
    auto positivo = [](int16_t cuenta) { return uint64_t(cuenta > 0 ? cuenta : 0); };
    const uint64_t normales =
        m.NumNormales >= 0 ? 6 * positivo(m.NumNormales) : 2 * uint64_t(-int32_t{m.NumNormales});
    return 12 + 6 * positivo(m.NumVertices) + 2 + normales + 2 + 12 * positivo(m.NumRectangulos) +
           2 + 10 * positivo(m.NumTriangulos);
}

inline bool Completo(const trMesh& m) {
    auto igual = [](int64_t cuenta, size_t tamano) {
        return tamano == uint64_t(cuenta > 0 ? cuenta : 0);
    };
    return igual(m.NumVertices, m.Vertices.size()) && igual(m.NumNormales, m.Normales.size()) &&
           igual(-int64_t{m.NumNormales}, m.Luces.size()) &&
           igual(m.NumRectangulos, m.Rectangulos.size()) &&
           igual(m.NumTriangulos, m.Triangulos.size()) &&
           (BytesSinRelleno(m) % 4 != 0) == m.Alineacion.has_value();
}

// The samples after the level data: located within the file's tail, never more than its count
// or the cap, and decoded within the bounds that keep a lying header from a huge allocation.
inline void ComprobarSonidos(const trNivel& n) {
    trSonidos s;
    LeerSonidos(n, s);
    COMPROBAR(s.MuestrasDeclaradas == n.ValorFinal);
    COMPROBAR(s.Muestras.size() <= std::min<uint64_t>(n.ValorFinal, MAXIMO_MUESTRAS));
    for (int32_t id = 0; id < int32_t(s.Mapa.size()); ++id) {
        const int32_t d = DetalleDeSonido(s, uint32_t(id));
        COMPROBAR(d < int32_t(s.Detalles.size()));
        if (d >= 0)
            for (uint32_t m : MuestrasDeSonido(s, s.Detalles[size_t(d)]))
                COMPROBAR(m < s.Muestras.size());
    }
    for (trMuestra& m : s.Muestras) {
        COMPROBAR(m.Posicion + m.TamanoGuardado <= n.Cola.size());
        trPcm pcm;
        if (DecodificarMuestra(n, m, pcm)) {
            COMPROBAR(pcm.Canales > 0 && pcm.Frecuencia > 0);
            COMPROBAR(pcm.BytesDatos() <= MAXIMO_BYTES_PCM);
            COMPROBAR(pcm.BytesDatos() <= RAZON_MAXIMA_PCM * m.TamanoGuardado + 4096);
        } else {
            COMPROBAR(!m.Legible() && pcm.Valores.empty());
            ComprobarMotivo(m.Motivo);
        }
    }
}

// The list read from `longitud` bytes of mesh data: records lie back to back, each whole except
// possibly the last, which is cut only when the data really ended inside it; every array fits
// the bytes given, and the walk stops only at the end.
inline void ComprobarMeshes(const Lista_Mesh& lista, uint32_t longitud) {
    auto positivo = [](int cuenta) { return uint64_t(cuenta > 0 ? cuenta : 0); };
    uint64_t inicio = 0;
    for (int i = 0; i < lista.Cantidad(); ++i) {
        trMesh* m = nullptr;
        COMPROBAR(lista.ObtenerMesh(i, m) == 1 && m != nullptr);
        COMPROBAR(inicio < longitud);
        COMPROBAR(TodoONada(positivo(m->NumVertices), 1, m->Vertices.size()));
        COMPROBAR(TodoONada(positivo(m->NumNormales), 1, m->Normales.size()));
        COMPROBAR(TodoONada(positivo(-m->NumNormales), 1, m->Luces.size()));
        COMPROBAR(TodoONada(positivo(m->NumRectangulos), 1, m->Rectangulos.size()));
        COMPROBAR(TodoONada(positivo(m->NumTriangulos), 1, m->Triangulos.size()));
        const uint64_t arreglos = 6 * (m->Vertices.size() + m->Normales.size()) +
                                  2 * m->Luces.size() + 12 * m->Rectangulos.size() +
                                  10 * m->Triangulos.size();
        COMPROBAR(inicio + arreglos <= longitud);

        const uint64_t bytes = (BytesSinRelleno(*m) + 3) / 4 * 4;
        if (i + 1 < lista.Cantidad()) {
            COMPROBAR(Completo(*m));
            COMPROBAR(inicio + bytes <= longitud);
        } else if (inicio + bytes <= longitud) {
            // Its bytes were all there, so it cannot have been cut, and what follows it is too
            // short to start another record.
            COMPROBAR(Completo(*m));
            COMPROBAR(longitud - (inicio + bytes) <= 1);
        }
        inicio += bytes;
    }
    COMPROBAR(longitud < 2 || lista.Cantidad() > 0);
}

// Objects read from any level: every mesh named is in the list, every parent comes before its
// child, and a moveable that lost a mesh to its pointers says it is incomplete.
inline void ComprobarObjetos(const trNivel& n, const Lista_Mesh* lista, const trObjetos& o) {
    const int32_t meshes = lista ? lista->Cantidad() : 0;
    const uint64_t maximo = uint64_t{1} << 16;
    COMPROBAR(o.Movibles.size() ==
              std::min(n.Movibles.size() / trMovible::BYTES_EN_ARCHIVO, maximo));
    COMPROBAR(o.Estaticos.size() ==
              std::min(n.MeshesEstaticos.size() / trEstatico::BYTES_EN_ARCHIVO, maximo));
    uint64_t total = 0;
    for (const trMovible& m : o.Movibles) {
        COMPROBAR(m.Meshes.size() <= m.NumMeshes);
        COMPROBAR(!m.Completo || m.Meshes.size() == m.NumMeshes);
        COMPROBAR(m.Nodos.size() == m.Meshes.size() && m.Giros.size() == m.Meshes.size());
        for (size_t k = 0; k < m.Meshes.size(); ++k) {
            COMPROBAR(m.Meshes[k] >= -1 && m.Meshes[k] < meshes);
            COMPROBAR(!m.Completo || m.Meshes[k] >= 0);
            COMPROBAR(k == 0 ? m.Nodos[k].Padre == -1
                             : m.Nodos[k].Padre >= 0 && size_t(m.Nodos[k].Padre) < k);
        }
        total += m.Meshes.size();
    }
    COMPROBAR(total <= (uint64_t{1} << 20));
    for (const trEstatico& e : o.Estaticos)
        COMPROBAR(e.Mesh >= -1 && e.Mesh < meshes);
}

// Animations read from any level: each belongs to at most one moveable's range, which lies in
// the list; one marked playable has its keyframes within the frames array, each fitting its
// frame size as far as the open checked, and goes on within its moveable; commands and state changes stay in their arrays.
inline void ComprobarAnimaciones(const trNivel& n, const trObjetos& o) {
    const auto& lista = o.Animaciones.Animaciones;
    COMPROBAR(lista.size() == n.Animaciones.size() / trAnimacion::BYTES_EN_ARCHIVO);
    uint64_t suma = 0;
    for (const trMovible& m : o.Movibles) {
        COMPROBAR(m.NumAnimaciones == 0 || uint64_t{m.Animacion} + m.NumAnimaciones <= lista.size());
        suma += m.NumAnimaciones;
    }
    trCuadroClave clave;
    for (uint32_t i = 0; i < lista.size(); ++i) {
        const trAnimacion& a = lista[i];
        COMPROBAR(a.Movible >= -1 && a.Movible < int64_t(o.Movibles.size()));
        if (a.Movible >= 0) {
            const trMovible& m = o.Movibles[size_t(a.Movible)];
            COMPROBAR(i >= m.Animacion && i < m.Animacion + m.NumAnimaciones);
        }
        COMPROBAR(ComandosDe(o.Animaciones, a).size() <= a.NumComandos);
        for (const trCambioEstado& c : CambiosDe(o.Animaciones, a))
            COMPROBAR(DespachosDe(o.Animaciones, c).size() <= c.NumDespachos);
        if (!a.Jugable())
            continue;
        const trMovible& m = o.Movibles[size_t(a.Movible)];
        COMPROBAR(a.Claves >= 1 && a.Tasa > 0 && a.TamanoCuadro >= 9);
        COMPROBAR(InicioClave(a, a.Claves) <= n.Cuadros.size());
        // A broken link still plays (it loops itself); only an unbroken one must stay in range.
        COMPROBAR(a.SiguienteRoto() ||
                  (a.Siguiente >= m.Animacion && a.Siguiente < m.Animacion + m.NumAnimaciones));
        // Read within the frame size whether or not the open had the time to check it: what
        // matters is that the read stays in bounds, not whether the frame fits.
        (void)LeerCuadroClave(n, InicioClave(a, a.Claves - 1), a.TamanoCuadro, m.NumMeshes, clave);
        uint32_t siguiente = 0, cuadro = 0;
        if (SiguienteDe(o.Animaciones, i, siguiente, cuadro))
            COMPROBAR(lista[siguiente].Jugable() && cuadro >= lista[siguiente].PrimerCuadro &&
                      cuadro <= lista[siguiente].UltimoCuadro);
    }
    COMPROBAR(suma <= lista.size() * o.Movibles.size());
}

// Rooms read by their bytes: every face kept names vertices of its room, every face of the arrays
// is kept or dropped, and every placement is placed or skipped. What the scene counts must agree.
inline trColocacionesCuartos ComprobarCuartos(const trNivel& n, const trObjetos& o,
                                              std::vector<trGeometriaCuarto>* leidos = nullptr) {
    const std::vector<trGeometriaCuarto> cuartos = LeerCuartos(n);
    COMPROBAR(cuartos.size() == n.Cuartos.size());
    for (size_t r = 0; r < cuartos.size(); ++r) {
        const trGeometriaCuarto& g = cuartos[r];
        const trCuarto& c = n.Cuartos[r];
        COMPROBAR(g.Vertices.size() == c.Vertices.size() / 12);
        COMPROBAR(g.Caras.size() == uint64_t{g.Rectangulos} + g.Triangulos);
        COMPROBAR(uint64_t{g.Rectangulos} + g.Triangulos + g.Descartadas ==
                  c.Rectangulos.size() / 10 + c.Triangulos.size() / 8);
        COMPROBAR(g.SinTextura <= g.Caras.size());
        for (const trCaraCuarto& f : g.Caras) {
            COMPROBAR(f.Lados == 3 || f.Lados == 4);
            COMPROBAR(f.Textura < 0x8000);
            for (int k = 0; k < f.Lados; ++k)
                COMPROBAR(f.Vertices[k] < g.Vertices.size());
        }
    }
    const trColocacionesCuartos c = ContarColocaciones(o, cuartos.size());
    COMPROBAR(uint64_t{c.Estaticos} + c.EstaticosOmitidos == o.Colocaciones.size());
    COMPROBAR(uint64_t{c.Items} + c.ItemsOmitidos == o.Items.size());
    if (leidos)
        *leidos = cuartos;
    return c;
}

// The floor data walked whatever it holds: every record inside its room, every trigger in a
// sector that names it, and both readings of an action's last bit end.
inline void ComprobarLogica(const trNivel& n) {
    for (trFinAcciones fin : {trFinAcciones::Bit15Ultima, trFinAcciones::Bit15Sigue}) {
        const trLogica l = LeerLogica(n, fin);
        COMPROBAR(l.Cuartos.size() == n.Cuartos.size());
        uint64_t sectores = 0, conDatos = 0;
        for (size_t r = 0; r < l.Cuartos.size(); ++r) {
            const trCuartoLogica& c = l.Cuartos[r];
            sectores += c.Sectores.size();
            COMPROBAR(c.Sectores.empty() || c.Sectores.size() == uint64_t{c.NumZ} * c.NumX);
            for (const trSector& s : c.Sectores) {
                conDatos += s.IndiceDatos != 0;
                COMPROBAR(s.Disparador < int64_t(l.Disparadores.size()));
                if (s.Disparador >= 0) {
                    const trDisparador& d = l.Disparadores[size_t(s.Disparador)];
                    COMPROBAR(d.Cuarto == r && &c.Sectores[d.Sector] == &s);
                }
            }
        }
        COMPROBAR(sectores == l.Sectores && conDatos == l.SectoresConDatos);
        for (const trAvisoSuelo& a : l.Avisos) {
            COMPROBAR(!a.Texto.empty());
            COMPROBAR(!TextoAviso(l, a).empty());
        }
        for (const auto& secuencia : l.Secuencias)
            for (uint32_t i : secuencia)
                COMPROBAR(i < l.CamarasVuelo.size());
    }
}

} // namespace fuzz

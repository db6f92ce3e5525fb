#include "LeerObjetos.h"

#include "ConvencionesNivel.h"
#include "LeerAnimaciones.h"
#include "LeerCuadros.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace {

template <class T> T Leer(const uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

// The level's arrays are whole elements when read; a reader still goes by their bytes.
template <class T> uint64_t Elementos(const trBytes& datos) {
    return datos.size() / sizeof(T);
}

// Where each mesh record begins, in file order, so that a pointer finds its record.
class Punteros {
  public:
    Punteros(const trNivel& nivel, const Lista_Mesh* lista) : punteros_(nivel.PunterosMesh) {
        const int32_t n = lista ? lista->Cantidad() : 0;
        inicios_.reserve(size_t(n));
        for (int32_t i = 0; i < n; ++i) {
            trMesh* m = nullptr;
            inicios_.push_back(lista->ObtenerMesh(i, m) ? m->Inicio : 0);
        }
    }

    // The mesh that pointer `indice` names, -1 when there is no such pointer or no record starts
    // where it points.
    int32_t Mesh(uint64_t indice) const {
        if (indice >= Elementos<uint32_t>(punteros_))
            return -1;
        const uint32_t p = Leer<uint32_t>(punteros_.data() + 4 * indice);
        const auto en = std::lower_bound(inicios_.begin(), inicios_.end(), p);
        return en != inicios_.end() && *en == p ? int32_t(en - inicios_.begin()) : -1;
    }

  private:
    const trBytes& punteros_;
    std::vector<uint32_t> inicios_; // increasing: records lie back to back
};

void LeerArbol(const trNivel& nivel, trMovible& m) {
    const uint32_t meshes = uint32_t(m.Meshes.size());
    m.Nodos.assign(meshes, {});
    const uint64_t palabras = Elementos<int32_t>(nivel.ArbolesMesh);
    std::vector<int32_t> pila;
    int32_t padre = 0;
    for (uint32_t k = 1; k < meshes; ++k) {
        const uint64_t en = uint64_t{m.Arbol} + 4 * uint64_t{k - 1};
        if (en + 4 > palabras) {
            // The rest hang from the root where it stands.
            m.Completo = false;
            for (; k < meshes; ++k)
                m.Nodos[k].Padre = 0;
            return;
        }
        const uint8_t* p = nivel.ArbolesMesh.data() + 4 * en;
        if (!PasoArbol(Leer<int32_t>(p), pila, padre))
            m.Completo = false; // a pop with nothing pushed: the parent is kept
        m.Nodos[k] = {padre, Leer<int32_t>(p + 4), Leer<int32_t>(p + 8), Leer<int32_t>(p + 12)};
        padre = int32_t(k);
    }
}

void LeerCuadro(const trNivel& nivel, trMovible& m) {
    m.Giros.assign(m.Meshes.size(), {});
    if (m.Animacion == trMovible::SIN_ANIMACION)
        return;
    trCuadroClave clave;
    if (!LeerCuadroClave(nivel, m.Cuadro, 0, uint32_t(m.Meshes.size()), clave))
        m.Completo = false;
    std::copy(std::begin(clave.Caja), std::end(clave.Caja), m.Caja);
    m.RaizX = clave.RaizX;
    m.RaizY = clave.RaizY;
    m.RaizZ = clave.RaizZ;
    m.Giros = std::move(clave.Giros);
}

} // namespace

// Meshes kept over all moveables. Real levels hold a few hundred; without a ceiling, many
// moveables each claiming 65535 meshes over the same pointers would ask for terabytes.
constexpr uint64_t MAXIMO_MESHES_OBJETOS = uint64_t{1} << 20;
// Object ids are 16-bit wherever the level names them, and a record in memory is several times
// its 18 or 32 bytes in the file: past this many, a damaged array would cost gigabytes.
constexpr uint64_t MAXIMO_OBJETOS = uint64_t{1} << 16;
constexpr uint64_t MAXIMO_COLOCACIONES = uint64_t{1} << 20;

int LeerObjetos(const trNivel& nivel, const Lista_Mesh* lista, trObjetos& objetos) {
    objetos = {};
    objetos.CuerpoLara = IdCuerpoLara(nivel.Juego);
    objetos.Juego = nivel.Juego;
    uint64_t presupuesto = MAXIMO_MESHES_OBJETOS;
    const Punteros punteros(nivel, lista);

    // Where the level places its objects, and how many times each id.
    std::unordered_map<int64_t, uint32_t> items, colocaciones;
    objetos.Items.resize(
        std::min<uint64_t>(nivel.Items.size() / trItem::BYTES_EN_ARCHIVO, MAXIMO_OBJETOS));
    for (size_t i = 0; i < objetos.Items.size(); ++i) {
        const uint8_t* p = nivel.Items.data() + trItem::BYTES_EN_ARCHIVO * i;
        objetos.Items[i] = {Leer<int16_t>(p),      Leer<int16_t>(p + 2),  Leer<int32_t>(p + 4),
                            Leer<int32_t>(p + 8),  Leer<int32_t>(p + 12), Leer<int16_t>(p + 16),
                            Leer<int16_t>(p + 18), Leer<int16_t>(p + 20), Leer<uint16_t>(p + 22)};
        ++items[objetos.Items[i].Objeto];
    }
    for (size_t c = 0; c < nivel.Cuartos.size(); ++c) {
        const trBytes& bytes = nivel.Cuartos[c].MeshesEstaticos;
        for (size_t i = 0; i < bytes.size() / trEstaticoColocado::BYTES_EN_ARCHIVO &&
                           objetos.Colocaciones.size() < MAXIMO_COLOCACIONES;
             ++i) {
            const uint8_t* p = bytes.data() + trEstaticoColocado::BYTES_EN_ARCHIVO * i;
            objetos.Colocaciones.push_back({uint16_t(c), Leer<int32_t>(p), Leer<int32_t>(p + 4),
                                            Leer<int32_t>(p + 8), Leer<uint16_t>(p + 12),
                                            Leer<uint16_t>(p + 14), Leer<uint16_t>(p + 18)});
            ++colocaciones[objetos.Colocaciones.back().Id];
        }
    }
    auto contar = [](const std::unordered_map<int64_t, uint32_t>& cuenta, int64_t id) {
        const auto en = cuenta.find(id);
        return en == cuenta.end() ? 0u : en->second;
    };

    const uint64_t movibles =
        std::min<uint64_t>(nivel.Movibles.size() / trMovible::BYTES_EN_ARCHIVO, MAXIMO_OBJETOS);
    objetos.Movibles.resize(movibles);
    for (uint64_t i = 0; i < movibles; ++i) {
        const uint8_t* p = nivel.Movibles.data() + trMovible::BYTES_EN_ARCHIVO * i;
        trMovible& m = objetos.Movibles[i];
        m.Id = Leer<uint32_t>(p);
        m.NumMeshes = Leer<uint16_t>(p + 4);
        m.PrimerMesh = Leer<uint16_t>(p + 6);
        m.Arbol = Leer<uint32_t>(p + 8);
        m.Cuadro = Leer<uint32_t>(p + 12);
        m.Animacion = Leer<uint16_t>(p + 16);
        // A mesh past the pointers cannot be read; neither can one past the budget.
        const uint64_t legibles = std::min<uint64_t>(
            {m.NumMeshes,
             Elementos<uint32_t>(nivel.PunterosMesh) -
                 std::min<uint64_t>(m.PrimerMesh, Elementos<uint32_t>(nivel.PunterosMesh)),
             presupuesto});
        presupuesto -= legibles;
        m.Completo = legibles == m.NumMeshes;
        m.Meshes.resize(legibles);
        for (uint32_t k = 0; k < legibles; ++k) {
            m.Meshes[k] = punteros.Mesh(uint64_t{m.PrimerMesh} + k);
            m.Completo = m.Completo && m.Meshes[k] >= 0;
        }
        LeerArbol(nivel, m);
        LeerCuadro(nivel, m);
        m.Colocados = contar(items, m.Id);
    }

    const uint64_t estaticos = std::min<uint64_t>(
        nivel.MeshesEstaticos.size() / trEstatico::BYTES_EN_ARCHIVO, MAXIMO_OBJETOS);
    objetos.Estaticos.resize(estaticos);
    for (uint64_t i = 0; i < estaticos; ++i) {
        const uint8_t* p = nivel.MeshesEstaticos.data() + trEstatico::BYTES_EN_ARCHIVO * i;
        trEstatico& e = objetos.Estaticos[i];
        e.Id = Leer<uint32_t>(p);
        e.PunteroMesh = Leer<uint16_t>(p + 4);
        for (int k = 0; k < 6; ++k) {
            e.Visibilidad[k] = Leer<int16_t>(p + 6 + 2 * k);
            e.Colision[k] = Leer<int16_t>(p + 18 + 2 * k);
        }
        e.Banderas = Leer<uint16_t>(p + 30);
        e.Mesh = punteros.Mesh(e.PunteroMesh);
        e.Colocados = contar(colocaciones, e.Id);
    }
    LeerAnimaciones(nivel, objetos);
    return 1;
}

#include "EscenaNivel.h"

#include "ArticulacionesLara.h"
#include "ConstructorEscena.h"
#include "ConvencionesNivel.h"
#include "Ensamblaje.h"
#include "LeerCuartos.h"
#include "NivelAbierto.h"
#include "PoseMovible.h"
#include "trMezcla.h"

#include <glm/glm.hpp>
#include <glm/gtc/type_ptr.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <unordered_map>

namespace {

using Clase = uint32_t; // a ClasesAlternas class
using Tipo = EscenaNivel::Tipo;

uint32_t Color555(uint16_t c) {
    auto canal = [c](int desplazamiento) {
        return uint32_t(LuzCanal(c, desplazamiento) * 255 + 0.5f);
    };
    return 0xFF000000u | canal(10) << 16 | canal(5) << 8 | canal(0);
}

Esfera EsferaCaja(const glm::vec3& minimo, const glm::vec3& maximo) {
    if (!(minimo.x <= maximo.x))
        return {};
    const glm::vec3 c = (minimo + maximo) / 2.f;
    return {c.x, c.y, c.z, std::max(glm::length(maximo - c), 1.f)};
}

bool Mostrado(int tipo, const OpcionesNivel& o) {
    return tipo == EscenaNivel::CUARTOS || (tipo == EscenaNivel::ESTATICOS ? o.Estaticos : o.Items);
}

// The first of the moveable's animations that poses its tree (as dressed), or none.
std::optional<uint32_t> PrimeraQueMueve(const trNivel& nivel, const trAnimaciones& t,
                                        const trMovible& m, std::vector<glm::mat4>& mundos) {
    if (m.Animacion == trMovible::SIN_ANIMACION)
        return {};
    for (uint32_t i = 0; i < m.NumAnimaciones; ++i) {
        const uint32_t a = uint32_t(m.Animacion) + i;
        if (a >= t.Animaciones.size())
            break;
        if (t.Animaciones[a].Jugable() && PosarMovible(nivel, t, m, a, 0, mundos))
            return a;
    }
    return {};
}

} // namespace

// What moves when the items are animated, kept from the build: each moving item's pieces and
// where every item vertex of the buffer comes from.
struct EscenaNivel::Movimiento {
    struct Item {
        uint32_t Esqueleto = 0; // in Esqueletos
        uint32_t Animacion = 0; // in the level's list
        glm::mat4 Lugar{1.f};   // the item's place and turn, device axes
        uint32_t PrimeraPieza = 0, Piezas = 0;
    };
    std::vector<trMovible> Esqueletos; // each moving item's moveable, dressed as it is drawn
    std::vector<Item> Items;
    std::vector<int32_t> Nodos;                        // each piece's mesh in its moveable's tree
    std::vector<OrigenVertice> Origenes;               // one per item vertex, in the buffer's order
    std::vector<std::pair<uint32_t, uint32_t>> Tramos; // the items' runs of the buffer
    std::vector<VerticeEscena> Estaticos, Actuales;
    // Reused from frame to frame.
    std::vector<glm::mat4> Mundos;
    std::vector<glm::mat4> Piezas;
    std::vector<uint8_t> Posadas;
};

EscenaNivel::~EscenaNivel() = default;

std::unique_ptr<EscenaNivel> EscenaNivel::Crear(const NivelAbierto& abierto) {
    if (!abierto.Nivel)
        return nullptr;
    const trNivel& nivel = *abierto.Nivel;
    std::unique_ptr<EscenaNivel> e(new EscenaNivel);
    const uint32_t paginas = abierto.Texturas ? uint32_t(abierto.Texturas->NumPaginas()) : 0;
    const std::vector<trGeometriaCuarto> cuartos = LeerCuartos(nivel);
    e->clases_ = ClasesAlternas(abierto.Logica.Cuartos);
    std::vector<Clase> clases(cuartos.size());
    for (size_t r = 0; r < cuartos.size(); ++r)
        clases[r] = e->clases_.Clase(r);
    ConstructorEscena constructor(nivel, paginas, e->elegible_, e->clases_.NumClases());
    Cuentas& n = e->cuentas_;
    n.Cuartos = int32_t(cuartos.size());
    e->esferasCuartos_.reserve(cuartos.size());
    e->iluminados_.assign(cuartos.size(), false);
    for (size_t r = 0; r < cuartos.size(); ++r) {
        const trGeometriaCuarto& g = cuartos[r];
        constructor.Duenio({DuenioCara::Tipo::Cuarto, int32_t(r), int32_t(r), uint16_t(clases[r])});
        constructor.Agua(r < abierto.Logica.Cuartos.size() && abierto.Logica.Cuartos[r].Agua());
        n.Vertices += int32_t(g.Vertices.size());
        n.Rectangulos += int32_t(g.Rectangulos);
        n.Triangulos += int32_t(g.Triangulos);
        constexpr float INF = std::numeric_limits<float>::infinity();
        glm::vec3 minimo(INF), maximo(-INF);
        std::vector<glm::vec3> p(g.Vertices.size());
        std::vector<uint32_t> colores(g.Vertices.size());
        e->iluminados_[r] = CuartoConLuz(g);
        for (size_t i = 0; i < p.size(); ++i) {
            const trVerticeCuarto& v = g.Vertices[i];
            p[i] = EnDispositivo(glm::vec3(float(v.X), float(v.Y), float(v.Z)));
            colores[i] = Color555(v.Color);
            minimo = glm::min(minimo, p[i]);
            maximo = glm::max(maximo, p[i]);
        }
        Esfera s = EsferaCaja(minimo, maximo);
        if (p.empty())
            s = {float(g.X), float(YEnDispositivo(g.YAbajo)), float(g.Z), 1};
        e->esferasCuartos_.push_back(s);
        for (const trCaraCuarto& f : g.Caras) {
            glm::vec3 q[4];
            uint32_t c[4];
            for (int k = 0; k < f.Lados; ++k) {
                q[k] = p[f.Vertices[k]];
                c[k] = colores[f.Vertices[k]];
            }
            constructor.Cara(clases[r], CUARTOS, MezclaCara(nivel, f.Textura), f.DobleCara, f.Lados,
                             q, c, f.Textura);
        }
    }

    // Placements whose object or room the level lacks are skipped and counted.
    const trObjetos& objetos = abierto.Objetos;
    const auto estaticos = IndicePorId(objetos, false), movibles = IndicePorId(objetos, true);
    const Lista_Mesh* lista = abierto.Meshes.get();
    for (size_t ic = 0; ic < objetos.Colocaciones.size(); ++ic) {
        const trEstaticoColocado& c = objetos.Colocaciones[ic];
        const auto en = estaticos.find(c.Id);
        if (c.Cuarto >= cuartos.size() || en == estaticos.end()) {
            ++n.EstaticosOmitidos;
            continue;
        }
        ++n.EstaticosColocados;
        const trMesh* m = abierto.Mesh(objetos.Estaticos[en->second].Mesh);
        if (!m)
            continue;
        const glm::mat3 giro = GiroY(c.Rotacion);
        const glm::vec3 lugar(float(c.X), float(c.Y), float(c.Z));
        constructor.Duenio({DuenioCara::Tipo::Estatico, int32_t(ic), int32_t(c.Cuarto),
                            uint16_t(clases[c.Cuarto])});
        constructor.Mesh(clases[c.Cuarto], ESTATICOS, *m,
                         [&](const glm::vec3& v) { return EnDispositivo(giro * v + lugar); });
    }
    // Items of one moveable share its assembly, and what of it moves.
    std::unordered_map<size_t, Ensamblaje> armados;
    auto movimiento = std::make_unique<Movimiento>();
    std::unordered_map<size_t, std::optional<Movimiento::Item>> mueven;
    e->meshesItems_.resize(objetos.Items.size());
    for (size_t ii = 0; ii < objetos.Items.size(); ++ii) {
        const trItem& item = objetos.Items[ii];
        const auto en = movibles.find(item.Objeto);
        if (item.Cuarto < 0 || size_t(item.Cuarto) >= cuartos.size() || en == movibles.end()) {
            ++n.ItemsOmitidos;
            continue;
        }
        ++n.ItemsColocados;
        if (!lista || constructor.Lleno())
            continue;
        auto armado = armados.find(en->second);
        if (armado == armados.end()) {
            // Lara wears her body's meshes, as the game draws her.
            armado = armados
                         .emplace(en->second, ArmarMovible(VestirMovible(objetos, en->second),
                                                           *lista, abierto.Articulaciones))
                         .first;
            // Assembling walked every vertex of its meshes twice.
            for (const PiezaObjeto& pieza : armado->second.Piezas)
                if (const trMesh* m = abierto.Mesh(pieza.Mesh))
                    constructor.Examinar(2 * m->Vertices.size());
        }
        auto mueve = mueven.find(en->second);
        if (mueve == mueven.end()) {
            std::optional<Movimiento::Item> m;
            trMovible esqueleto = VestirMovible(objetos, en->second);
            if (const auto a =
                    PrimeraQueMueve(nivel, objetos.Animaciones, esqueleto, movimiento->Mundos)) {
                m.emplace();
                m->Esqueleto = uint32_t(movimiento->Esqueletos.size());
                m->Animacion = *a;
                movimiento->Esqueletos.push_back(std::move(esqueleto));
            }
            mueve = mueven.emplace(en->second, m).first;
        }
        const glm::mat3 giro = GiroY(uint16_t(item.Angulo));
        const glm::vec3 lugar(float(item.X), float(item.Y), float(item.Z));
        constructor.Duenio({DuenioCara::Tipo::Item, int32_t(ii), int32_t(item.Cuarto),
                            uint16_t(clases[size_t(item.Cuarto)])});
        if (mueve->second) {
            Movimiento::Item m = *mueve->second;
            m.Lugar = EnDispositivo(giro, lugar); // the same place as below, as one matrix
            m.PrimeraPieza = uint32_t(movimiento->Nodos.size());
            movimiento->Items.push_back(m);
        }
        // The piece each node of the tree became for this item, for the joints that follow it.
        std::vector<uint32_t> piezaDeNodo;
        for (const PiezaObjeto& pieza : armado->second.Piezas) {
            const trMesh* m = abierto.Mesh(pieza.Mesh);
            if (!m)
                continue;
            e->meshesItems_[ii].push_back(pieza.Mesh);
            if (pieza.Junta >= 0 && armado->second.Articulaciones) {
                const auto& junta = armado->second.Articulaciones->Juntas()[size_t(pieza.Junta)];
                constructor.MeshArticulado(
                    clases[size_t(item.Cuarto)], ITEMS, *m,
                    [&](uint16_t i) {
                        return EnDispositivo(giro * EnDispositivo(pieza.Vertices[i]) + lugar);
                    },
                    [&](uint16_t i) {
                        const ArticulacionesLara::Vertice& v = junta.Vertices[i];
                        const bool sigue = mueve->second && size_t(v.Hueso) < piezaDeNodo.size();
                        return OrigenVertice{sigue ? piezaDeNodo[size_t(v.Hueso)] : SIN_PIEZA,
                                             v.Local};
                    });
                continue;
            }
            if (mueve->second) {
                if (pieza.Nodo >= 0) {
                    piezaDeNodo.resize(std::max(piezaDeNodo.size(), size_t(pieza.Nodo) + 1),
                                       SIN_PIEZA);
                    piezaDeNodo[size_t(pieza.Nodo)] = uint32_t(movimiento->Nodos.size());
                }
                constructor.Pieza(uint32_t(movimiento->Nodos.size()));
                movimiento->Nodos.push_back(pieza.Nodo);
                ++movimiento->Items.back().Piezas;
            }
            // The piece's matrix works in device axes; the item's place in the level's.
            const glm::mat4 mundo = pieza.Mundo;
            constructor.Mesh(clases[size_t(item.Cuarto)], ITEMS, *m, [&](const glm::vec3& v) {
                const glm::vec3 d(mundo * glm::vec4(EnDispositivo(v), 1));
                return EnDispositivo(giro * EnDispositivo(d) + lugar);
            });
        }
        constructor.Pieza(SIN_PIEZA);
    }

    std::vector<VerticeEscena>& todos = e->vertices_;
    constructor.Armar(e->grupos_, todos, movimiento->Tramos, movimiento->Origenes, e->tramosAgua_);
    for (const auto& [inicio, cantidad] : e->tramosAgua_)
        for (uint32_t i = inicio; i < inicio + cantidad; ++i)
            e->coloresAgua_.push_back(todos[i].Color);
    // Only a level with something to move keeps its items' vertices twice.
    if (!movimiento->Items.empty()) {
        for (const auto& [inicio, cantidad] : movimiento->Tramos)
            movimiento->Estaticos.insert(movimiento->Estaticos.end(), todos.begin() + inicio,
                                         todos.begin() + inicio + cantidad);
        movimiento->Actuales = movimiento->Estaticos;
        e->movimiento_ = std::move(movimiento);
    }
    return e;
}

Esfera EscenaNivel::EsferaNivel(const OpcionesNivel& opciones) const {
    constexpr float INF = std::numeric_limits<float>::infinity();
    glm::vec3 minimo(INF), maximo(-INF);
    for (size_t c = 0; c < grupos_.size(); ++c)
        for (int t = 0; t < TIPOS; ++t) {
            const Grupo& g = grupos_[c][size_t(t)];
            if (!clases_.Visible(uint32_t(c), opciones) || !Mostrado(t, opciones) ||
                !(g.Minimo[0] <= g.Maximo[0]))
                continue;
            minimo = glm::min(minimo, glm::make_vec3(g.Minimo));
            maximo = glm::max(maximo, glm::make_vec3(g.Maximo));
        }
    return EsferaCaja(minimo, maximo);
}

Esfera EscenaNivel::EsferaCuarto(int32_t cuarto) const {
    if (cuarto < 0 || size_t(cuarto) >= esferasCuartos_.size())
        return {};
    return esferasCuartos_[size_t(cuarto)];
}

std::vector<TramoEscena> EscenaNivel::Tramos(const OpcionesNivel& opciones) const {
    std::vector<TramoEscena> tramos;
    for (int m = 0; m < MEZCLAS; ++m)
        for (size_t c = 0; c < grupos_.size(); ++c)
            for (int t = 0; t < TIPOS; ++t) {
                const Grupo& g = grupos_[c][size_t(t)];
                if (!clases_.Visible(uint32_t(c), opciones) || !Mostrado(t, opciones))
                    continue;
                const auto mezcla = opciones.Mezclas ? MezclaEscena(m) : MezclaEscena::Opaca;
                tramos.push_back({g.Inicio[m], g.Vertices[m][0], false, mezcla});
                tramos.push_back({g.Inicio[m] + g.Vertices[m][0], g.Vertices[m][1], true, mezcla});
            }
    return tramos;
}

Esfera EscenaNivel::EsferaIluminada(const OpcionesNivel& opciones) const {
    constexpr float INF = std::numeric_limits<float>::infinity();
    glm::vec3 minimo(INF), maximo(-INF);
    // Everything the options show that stands in a lit room, rooms and placements alike.
    for (const ParteElegible& p : elegible_.Partes) {
        const int tipo = p.Duenio.Clase == DuenioCara::Tipo::Cuarto     ? CUARTOS
                         : p.Duenio.Clase == DuenioCara::Tipo::Estatico ? ESTATICOS
                                                                        : ITEMS;
        if (p.Cuantos == 0 || !clases_.Visible(p.Duenio.Grupo, opciones) ||
            !Mostrado(tipo, opciones) || !CuartoIluminado(p.Duenio.Cuarto))
            continue;
        minimo = glm::min(minimo, glm::make_vec3(p.Minimo));
        maximo = glm::max(maximo, glm::make_vec3(p.Maximo));
    }
    if (!(minimo.x <= maximo.x))
        return EsferaNivel(opciones);
    return EsferaCaja(minimo, maximo);
}

bool EscenaNivel::TenirAgua(bool si) {
    if (si == aguaTenida_)
        return false;
    auto canal = [](uint32_t color, int desplazamiento) {
        return ((color >> desplazamiento & 0xFF) * (TINTE_AGUA >> desplazamiento & 0xFF) + 127) /
               255;
    };
    size_t k = 0;
    for (const auto& [inicio, cantidad] : tramosAgua_)
        for (uint32_t i = inicio; i < inicio + cantidad; ++i, ++k) {
            const uint32_t c = coloresAgua_[k];
            vertices_[i].Color =
                si ? (c & 0xFF000000u) | canal(c, 16) << 16 | canal(c, 8) << 8 | canal(c, 0) : c;
        }
    aguaTenida_ = si;
    return true;
}

bool EscenaNivel::CuartoIluminado(int32_t cuarto) const {
    return cuarto >= 0 && size_t(cuarto) < iluminados_.size() && iluminados_[size_t(cuarto)];
}

std::optional<Acierto> EscenaNivel::Elegir(const Rayo& rayo, const OpcionesNivel& opciones) const {
    return ElegirPrimero(elegible_, rayo, [&](const ParteElegible& p) {
        const int tipo = p.Duenio.Clase == DuenioCara::Tipo::Cuarto     ? CUARTOS
                         : p.Duenio.Clase == DuenioCara::Tipo::Estatico ? ESTATICOS
                                                                        : ITEMS;
        return clases_.Visible(p.Duenio.Grupo, opciones) && Mostrado(tipo, opciones);
    });
}

int32_t EscenaNivel::ParteDe(const DuenioCara& duenio) const {
    for (size_t i = 0; i < elegible_.Partes.size(); ++i)
        if (elegible_.Partes[i].Duenio.Clase == duenio.Clase &&
            elegible_.Partes[i].Duenio.Indice == duenio.Indice)
            return int32_t(i);
    return -1;
}

Esfera EscenaNivel::EsferaParte(int32_t parte) const {
    if (parte < 0 || size_t(parte) >= elegible_.Partes.size())
        return {};
    const ParteElegible& p = elegible_.Partes[size_t(parte)];
    return EsferaCaja(glm::make_vec3(p.Minimo), glm::make_vec3(p.Maximo));
}

std::vector<VerticeEscena> EscenaNivel::Contorno(int32_t parte) const {
    std::vector<VerticeEscena> v;
    if (parte < 0 || size_t(parte) >= elegible_.Partes.size())
        return v;
    const ParteElegible& p = elegible_.Partes[size_t(parte)];
    // Yellow, which no level's lighting gives a whole outline.
    constexpr uint32_t AMARILLO = 0xFFFFD200;
    v.reserve(size_t(p.Cuantos) * 3);
    for (uint32_t t = p.Primero; t < p.Primero + p.Cuantos; ++t)
        for (const auto& q : elegible_.Triangulos[t].P)
            v.push_back({q[0], q[1], q[2], 0, 0, PAGINA_NINGUNA, AMARILLO});
    return v;
}

const std::vector<int32_t>& EscenaNivel::MeshesDeItem(int32_t item) const {
    static const std::vector<int32_t> ninguno;
    return item >= 0 && size_t(item) < meshesItems_.size() ? meshesItems_[size_t(item)] : ninguno;
}

bool EscenaNivel::Animar(const NivelAbierto& nivel, double cuadro) {
    Movimiento* mv = movimiento_.get();
    if (!mv || !nivel.Nivel || !std::isfinite(cuadro))
        return false;
    const trAnimaciones& t = nivel.Objetos.Animaciones;
    mv->Piezas.resize(mv->Nodos.size());
    mv->Posadas.assign(mv->Nodos.size(), 0);
    for (const Movimiento::Item& item : mv->Items) {
        if (item.Animacion >= t.Animaciones.size())
            continue;
        // Looped: after its last frame, its first again.
        const double vuelta = double(t.Animaciones[item.Animacion].Duracion()) + 1;
        const double f = std::fmod(std::max(cuadro, 0.0), vuelta);
        if (!PosarMovible(*nivel.Nivel, t, mv->Esqueletos[item.Esqueleto], item.Animacion, f,
                          mv->Mundos))
            continue;
        for (uint32_t p = item.PrimeraPieza; p < item.PrimeraPieza + item.Piezas; ++p) {
            const int32_t k = mv->Nodos[p];
            const glm::mat4 mundo =
                k >= 0 && size_t(k) < mv->Mundos.size() ? mv->Mundos[size_t(k)] : glm::mat4(1.f);
            mv->Piezas[p] = item.Lugar * mundo;
            mv->Posadas[p] = 1;
        }
    }
    // A piece its animation could not pose at this frame keeps the pose it had.
    for (size_t i = 0; i < mv->Origenes.size(); ++i) {
        const OrigenVertice& o = mv->Origenes[i];
        if (o.Pieza == SIN_PIEZA || !mv->Posadas[o.Pieza])
            continue;
        const glm::vec4 q = mv->Piezas[o.Pieza] * glm::vec4(o.Local, 1);
        VerticeEscena& v = mv->Actuales[i];
        v.X = q.x;
        v.Y = q.y;
        v.Z = q.z;
    }
    animada_ = true;
    return true;
}

bool EscenaNivel::Detener() {
    if (!movimiento_ || !animada_)
        return false;
    movimiento_->Actuales = movimiento_->Estaticos;
    animada_ = false;
    return true;
}

int32_t EscenaNivel::ItemsAnimados() const {
    return movimiento_ ? int32_t(movimiento_->Items.size()) : 0;
}

const std::vector<VerticeEscena>& EscenaNivel::VerticesItems() const {
    static const std::vector<VerticeEscena> ninguno;
    return movimiento_ ? movimiento_->Actuales : ninguno;
}

const std::vector<std::pair<uint32_t, uint32_t>>& EscenaNivel::TramosItems() const {
    static const std::vector<std::pair<uint32_t, uint32_t>> ninguno;
    return movimiento_ ? movimiento_->Tramos : ninguno;
}

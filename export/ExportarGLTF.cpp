#include "ExportarGLTF.h"
#include "ConvencionesNivel.h"
#include "TablaNombres.h"

#include "ArmarElegido.h"
#include "EjesGLTF.h"
#include "Ensamblaje.h"
#include "Idioma.h"
#include "LeerCuartos.h"
#include "LeerSectores.h"
#include "ModeloGLTF.h"
#include "NivelAbierto.h"
#include "PaginasPNG.h"
#include "SerializarGLTF.h"

#include <glm/glm.hpp>

#include <algorithm>
#include <cctype>
#include <cmath>
#include <map>

namespace {

bool TerminaEn(const std::string& ruta, const std::string& extension) {
    if (ruta.size() <= extension.size())
        return false;
    return std::equal(extension.rbegin(), extension.rend(), ruta.rbegin(),
                      [](char a, char b) { return a == std::tolower(static_cast<unsigned char>(b)); });
}

// Every moveable, then every static, in file order, in rows on the ground (their lowest point at
// y = 0) with a gap between them, rows as long as the whole is deep, so none overlaps another.
void Todo(const NivelAbierto& nivel, ModeloGLTF& modelo, float escala) {
    static const Lista_Mesh vacia;
    const Lista_Mesh& lista = nivel.Meshes ? *nivel.Meshes : vacia;
    struct Pieza {
        Ensamblaje e;
        std::string nombre;
        glm::vec3 minimo{0}, maximo{0};
    };
    std::vector<Pieza> objetos;
    const TablaNombres& nombres = NombresDeJuego(nivel.Objetos.Juego);
    for (const trMovible& m : nivel.Objetos.Movibles)
        objetos.push_back({ArmarMovible(m, lista, nivel.Articulaciones),
                           ConNombre("movible_" + std::to_string(m.Id), nombres.Movible(m.Id))});
    for (const trEstatico& e : nivel.Objetos.Estaticos)
        objetos.push_back({ArmarEstatico(e, lista),
                           ConNombre("estatico_" + std::to_string(e.Id), nombres.Estatico(e.Id))});
    const float hueco = 256 * escala; // a quarter sector
    double area = 0;
    float mayor = 0;
    for (Pieza& p : objetos) {
        if (!modelo.Caja(p.e, p.minimo, p.maximo))
            p.minimo = p.maximo = glm::vec3(0);
        const glm::vec3 lado = p.maximo - p.minimo;
        area += double(lado.x + hueco) * double(lado.z + hueco);
        mayor = std::max(mayor, lado.x + hueco);
    }
    const float fila = std::max(mayor, float(std::sqrt(area)));
    float x = 0, z = 0, fondo = 0;
    for (const Pieza& p : objetos) {
        if (p.e.Piezas.empty())
            continue; // nothing of it could be read
        const glm::vec3 lado = p.maximo - p.minimo;
        if (x > 0 && x + lado.x > fila) {
            x = 0;
            z += fondo + hueco;
            fondo = 0;
        }
        modelo.Objeto(p.e, p.nombre, glm::vec3(x, 0, z) - p.minimo);
        x += lado.x + hueco;
        fondo = std::max(fondo, lado.z);
    }
}

// The base rooms (those that replace another when the level is flipped are left out, and what
// they hold, unless their group is shown flipped), then each static and item where the level
// places it; one naming an object or room the level lacks, or whose meshes cannot be read, is
// skipped.
void ExportarNivel(const NivelAbierto& nivel, ModeloGLTF& modelo, float escala,
                   const std::array<bool, 256>& volteados) {
    static const Lista_Mesh vacia;
    const Lista_Mesh& lista = nivel.Meshes ? *nivel.Meshes : vacia;
    const std::vector<trGeometriaCuarto> cuartos = LeerCuartos(*nivel.Nivel);
    const std::vector<bool> alterno = CuartosAlternos(cuartos);
    std::vector<bool> visible(cuartos.size());
    for (size_t r = 0; r < cuartos.size(); ++r)
        visible[r] = !alterno[r];
    const std::vector<trCuartoLogica>& logica = nivel.Logica.Cuartos;
    for (size_t r = 0; r < cuartos.size() && r < logica.size(); ++r) {
        const int64_t a = cuartos[r].Alterno;
        if (!alterno[r] && a >= 0 && size_t(a) < cuartos.size() && size_t(a) != r &&
            volteados[logica[r].GrupoAlterno]) {
            visible[r] = false;
            visible[size_t(a)] = true;
        }
    }
    for (size_t r = 0; r < cuartos.size(); ++r)
        if (visible[r])
            modelo.Cuarto(cuartos[r], r);
    auto base = [&](int64_t r) {
        return r >= 0 && size_t(r) < cuartos.size() && visible[size_t(r)];
    };
    const auto& objetos = nivel.Objetos;
    const TablaNombres& nombres = NombresDeJuego(objetos.Juego);
    const auto estaticos = IndicePorId(objetos, false), movibles = IndicePorId(objetos, true);
    // Assembled once per object, however many times the level places it.
    std::map<std::pair<bool, size_t>, Ensamblaje> armados;
    auto colocar = [&](bool movible, size_t i, const std::string& nombre, int32_t x, int32_t y,
                       int32_t z, uint16_t angulo) {
        auto [e, nuevo] = armados.try_emplace({movible, i});
        if (nuevo)
            e->second = movible ? ArmarMovible(VestirMovible(objetos, i), lista, nivel.Articulaciones)
                                : ArmarEstatico(objetos.Estaticos[i], lista);
        if (!e->second.Piezas.empty())
            modelo.Objeto(e->second, nombre, PuntoEnModelo({float(x), float(y), float(z)}, escala),
                          GiroEnModelo(angulo));
    };
    for (const trEstaticoColocado& c : objetos.Colocaciones)
        if (auto i = estaticos.find(c.Id); i != estaticos.end() && base(c.Cuarto))
            colocar(false, i->second,
                    ConNombre("estatico_" + std::to_string(c.Id), nombres.Estatico(c.Id)), c.X,
                    c.Y, c.Z, c.Rotacion);
    for (const trItem& it : objetos.Items)
        if (auto i = movibles.find(it.Objeto);
            i != movibles.end() && base(it.Cuarto))
            colocar(true, i->second,
                    ConNombre("movible_" + std::to_string(it.Objeto),
                              nombres.Movible(uint32_t(uint16_t(it.Objeto)))),
                    it.X, it.Y, it.Z, uint16_t(it.Angulo));
}

tinygltf::Value Valor(int64_t v) {
    return tinygltf::Value(int(v));
}

void ExportarLogica(const NivelAbierto& nivel, tinygltf::Model& m, float escala) {
    const trLogica& l = nivel.Logica;
    tinygltf::Node raiz;
    raiz.name = "logica";
    std::vector<tinygltf::Node> hijos;
    auto nodo = [&](std::string nombre, const glm::vec3& punto, tinygltf::Value::Object extras) {
        tinygltf::Node n;
        n.name = std::move(nombre);
        const glm::vec3 p = PuntoEnModelo(punto, escala);
        n.translation = {p.x, p.y, p.z};
        n.extras = tinygltf::Value(std::move(extras));
        hijos.push_back(std::move(n));
    };
    for (const trDisparador& d : l.Disparadores) {
        const trCuartoLogica& c = l.Cuartos[d.Cuarto];
        const auto& y = c.Sectores[d.Sector].SueloS.Y;
        const glm::vec3 centro(PosicionSector(c.X, float(d.X) + 0.5f),
                               float(int64_t{y[0]} + y[1] + y[2] + y[3]) / 4,
                               PosicionSector(c.Z, float(d.Z) + 0.5f));
        tinygltf::Value::Array acciones;
        for (const trAccion& a : d.Acciones) {
            tinygltf::Value::Object o;
            o["action"] = tinygltf::Value(std::string(ClaveAccion(a.Tipo)));
            o["parameter"] = Valor(a.Parametro);
            if (a.ConExtra)
                o["word"] = Valor(a.Extra);
            acciones.push_back(tinygltf::Value(std::move(o)));
        }
        tinygltf::Value::Object e;
        e["room"] = Valor(d.Cuarto);
        e["x"] = Valor(d.X);
        e["z"] = Valor(d.Z);
        e["type"] = tinygltf::Value(std::string(ClaveDisparador(d.Tipo)));
        e["timer"] = Valor(d.Tiempo);
        e["one_shot"] = tinygltf::Value(d.UnaVez);
        e["mask"] = Valor(d.Mascara);
        e["actions"] = tinygltf::Value(std::move(acciones));
        nodo("disparador_" + std::to_string(d.Cuarto) + "_" + std::to_string(d.X) + "_" +
                 std::to_string(d.Z),
             centro, std::move(e));
    }
    for (size_t i = 0; i < l.Camaras.size(); ++i) {
        const trCamara& c = l.Camaras[i];
        nodo("camara_" + std::to_string(i), {float(c.X), float(c.Y), float(c.Z)},
             {{"room", Valor(c.Cuarto)}, {"flags", Valor(c.Banderas)}});
    }
    for (size_t i = 0; i < l.CamarasVuelo.size(); ++i) {
        const trCamaraVuelo& c = l.CamarasVuelo[i];
        nodo("vuelo_" + std::to_string(c.Secuencia) + "_" + std::to_string(c.Indice),
             {float(c.X), float(c.Y), float(c.Z)},
             {{"sequence", Valor(c.Secuencia)}, {"index", Valor(c.Indice)},
              {"room", Valor(c.Cuarto)}, {"flags", Valor(c.Banderas)}});
    }
    for (size_t i = 0; i < l.FuentesSonido.size(); ++i) {
        const trFuenteSonido& f = l.FuentesSonido[i];
        nodo("sonido_" + std::to_string(i), {float(f.X), float(f.Y), float(f.Z)},
             {{"sound", Valor(f.Sonido)}, {"flags", Valor(f.Banderas)}});
    }
    for (tinygltf::Node& n : hijos) {
        raiz.children.push_back(int(m.nodes.size()));
        m.nodes.push_back(std::move(n));
    }
    if (m.scenes.empty())
        m.scenes.resize(1);
    m.scenes[0].nodes.push_back(int(m.nodes.size()));
    m.nodes.push_back(std::move(raiz));
}

// Lara as the moveable she is: the first, in her body's meshes where the level keeps them apart.
OpcionesGLTF ComoMovible(const NivelAbierto& nivel, OpcionesGLTF o) {
    if (o.Que != Elegido::Lara)
        return o;
    o.Que = Elegido::Movible;
    o.Numero = ID_LARA;
    if (nivel.Objetos.CuerpoLara != ID_LARA)
        o.Animadas.MeshesDe = nivel.Objetos.CuerpoLara;
    return o;
}

} // namespace

bool ExtensionGLTF(const std::string& ruta) {
    return TerminaEn(ruta, ".glb") || TerminaEn(ruta, ".gltf");
}

std::string NombreExportacion(const OpcionesGLTF& o, const std::string& archivoNivel) {
    const std::string numero = std::to_string(o.Numero);
    std::string que;
    switch (o.Que) {
    case Elegido::Mesh:
        que = "mesh_" + numero;
        break;
    case Elegido::Movible:
        que = o.Numero == ID_LARA && o.Animadas.MeshesDe >= 0 && o.Animadas.MeshesDe != ID_LARA
                  ? "lara"
                  : "movible_" + numero;
        break;
    case Elegido::Estatico:
        que = "estatico_" + numero;
        break;
    case Elegido::Todo:
        que = "todo";
        break;
    case Elegido::Nivel:
        que = "nivel";
        break;
    case Elegido::Lara:
        que = "lara";
        break;
    }
    // The stem as the file was picked: whatever folder went before it and its last ending off.
    std::string tronco = archivoNivel.substr(archivoNivel.find_last_of("/\\") + 1);
    if (const size_t punto = tronco.rfind('.'); punto != std::string::npos && punto > 0)
        tronco.resize(punto);
    return (tronco.empty() ? que : tronco + "_" + que) + ".glb";
}

Hecho ArmarModeloGLTF(const NivelAbierto& nivel, const OpcionesGLTF& pedidas, ModeloGLTF& modelo) {
    const OpcionesGLTF o = ComoMovible(nivel, pedidas);
    const float escala = float(o.Escala);
    if (!std::isfinite(escala) || !(escala > 0))
        return Hecho::Fallo(Traducir("la escala ha de ser un número positivo"));
    if (o.Que == Elegido::Todo) {
        Todo(nivel, modelo, escala);
    } else if (o.Que == Elegido::Nivel) {
        if (nivel.Nivel)
            ExportarNivel(nivel, modelo, escala, o.GruposVolteados);
        if (nivel.Nivel && o.Logica)
            ExportarLogica(nivel, modelo.Gltf(), escala);
    } else if (o.Que == Elegido::Movible && o.Animadas.Hay()) {
        return ExportarMovibleAnimado(nivel, o.Numero, o.Animadas, escala, modelo.Gltf(),
                                      [&](const Ensamblaje& e, const std::string& nombre) {
                                          return modelo.Objeto(e, nombre, glm::vec3(0));
                                      });
    } else {
        const Elegido que = o.Que;
        Ensamblaje e;
        if (Hecho h = ArmarElegido(nivel, que, o.Numero, e); !h)
            return h;
        if (que == Elegido::Mesh)
            modelo.MeshSola(int32_t(o.Numero));
        else {
            const TablaNombres& nombres = NombresDeJuego(nivel.Objetos.Juego);
            const uint32_t id = uint32_t(o.Numero);
            modelo.Objeto(e,
                          que == Elegido::Movible
                              ? ConNombre("movible_" + std::to_string(id), nombres.Movible(id))
                              : ConNombre("estatico_" + std::to_string(id), nombres.Estatico(id)),
                          glm::vec3(0));
        }
    }
    return {};
}

Hecho ExportarGLTFEnMemoria(const NivelAbierto& nivel, const OpcionesGLTF& o,
                            const std::string& ruta, std::vector<ArchivoPorEscribir>& archivos) {
    archivos.clear();
    const bool binario = TerminaEn(ruta, ".glb");
    ModeloGLTF modelo(nivel, float(o.Escala));
    Hecho h =
        !binario && !TerminaEn(ruta, ".gltf")
            ? Hecho::Fallo(ruta + ": " + Traducir("se espera un nombre acabado en .glb o .gltf"))
            : ArmarModeloGLTF(nivel, o, modelo);
    std::vector<std::vector<uint8_t>> pngs;
    if (h)
        h = CodificarPaginas(nivel.Texturas.get(), modelo.Imagenes(), pngs);
    if (h)
        h = SerializarGLTF(modelo.Gltf(), std::move(pngs), ruta, binario, archivos);
    if (!h)
        archivos.clear();
    return h;
}

Hecho ExportarGLTF(const NivelAbierto& nivel, const OpcionesGLTF& opciones,
                   const std::string& ruta) {
    std::vector<ArchivoPorEscribir> archivos;
    if (Hecho h = ExportarGLTFEnMemoria(nivel, opciones, ruta, archivos); !h)
        return h;
    return EscribirAtomico(archivos);
}

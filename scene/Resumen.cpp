#include "Resumen.h"
#include "Idioma.h"
#include "LeerCuartos.h"
#include "LeerObjetos.h"
#include "LeerSectores.h"
#include "Lista_Mesh.h"
#include "Objetos.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstdio>
#include <string>
#include <string_view>

namespace {

std::string Hex8(uint32_t v) {
    char texto[11];
    std::snprintf(texto, sizeof texto, "0x%08x", v);
    return texto;
}

// Values start in one column whatever the language; a column is a character, not a UTF-8 byte.
constexpr size_t COLUMNA_DE_VALORES = 22;

void Etiqueta(std::ostream& salida, std::string_view etiqueta) {
    const size_t caracteres =
        1 + size_t(std::count_if(etiqueta.begin(), etiqueta.end(), [](char c) {
            return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
        }));
    salida << etiqueta << ':'
           << std::string(caracteres < COLUMNA_DE_VALORES ? COLUMNA_DE_VALORES - caracteres : 1,
                          ' ');
}

} // namespace

ResumenNivel Resumir(const trNivel& nivel, const Lista_Mesh* lista) {
    ResumenNivel r;
    r.nivel = &nivel;
    for (const trGeometriaCuarto& g : LeerCuartos(nivel)) {
        r.verticesCuartos += g.Vertices.size();
        r.rectangulosCuartos += g.Rectangulos;
        r.triangulosCuartos += g.Triangulos;
        r.carasDescartadas += g.Descartadas;
    }
    trObjetos objetos;
    LeerObjetos(nivel, lista, objetos);
    r.colocaciones = ContarColocaciones(objetos, nivel.Cuartos.size());
    const trLogica logica = LeerLogica(nivel);
    for (const trAvisoSuelo& a : logica.Avisos)
        r.avisosSuelo.push_back(TextoAviso(logica, a));
    if (!lista)
        return r;
    r.meshes = lista->Cantidad();
    for (int i = 0; i < r.meshes; ++i) {
        trMesh* m = nullptr;
        if (!lista->ObtenerMesh(i, m))
            continue;
        r.rectangulos += m->Rectangulos.size();
        r.triangulos += m->Triangulos.size();
    }
    return r;
}

void EscribirJson(const ResumenNivel& r, std::ostream& salida) {
    const trNivel& n = *r.nivel;
    nlohmann::ordered_json j;
    j["version"] = Hex8(n.Version);
    j["header"] = {n.Cabecera[0], n.Cabecera[1], n.Cabecera[2]};
    j["blocks"] = nlohmann::json::array();
    for (const auto& b : n.Bloques)
        j["blocks"].push_back({{"inflated", b.TamanoInflado}, {"compressed", b.TamanoComprimido}});
    j["trailing"] = n.ValorFinal;
    j["tail_bytes"] = n.Cola.size();
    j["rooms"] = n.NumCuartos;
    j["floor_data"] = n.NumDatosSuelo;
    j["mesh_data_words"] = n.NumPalabrasMesh;
    j["mesh_pointers"] = n.NumPunterosMesh;
    j["animations"] = n.NumAnimaciones;
    j["moveables"] = n.NumMovibles;
    j["static_meshes"] = n.NumMeshesEstaticos;
    j["object_textures"] = n.NumTexturasObjeto;
    j["sprite_textures"] = n.NumTexturasSprite;
    j["cameras"] = n.NumCamaras;
    j["sound_sources"] = n.NumFuentesSonido;
    j["boxes"] = n.NumCajas;
    j["items"] = n.NumItems;
    j["texture_pages"] = n.NumPaginas();
    j["meshes"] = r.meshes;
    j["rectangles"] = r.rectangulos;
    j["triangles"] = r.triangulos;
    j["room_vertices"] = r.verticesCuartos;
    j["room_rectangles"] = r.rectangulosCuartos;
    j["room_triangles"] = r.triangulosCuartos;
    j["room_faces_dropped"] = r.carasDescartadas;
    PonerColocaciones(j, r.colocaciones);
    j["floor_data_warnings"] = r.avisosSuelo;
    salida << j.dump(2) << '\n';
}

void EscribirTexto(const ResumenNivel& r, std::ostream& salida) {
    const trNivel& n = *r.nivel;
    auto linea = [&](std::string_view etiqueta, const auto& valor) {
        Etiqueta(salida, etiqueta);
        salida << valor << '\n';
    };
    auto bytes = [](uint64_t cuantos) {
        return Formatear(Traducir("%s bytes"), {std::to_string(cuantos)});
    };
    linea(Traducir("Versión"), Hex8(n.Version));
    Etiqueta(salida, Traducir("Cabecera"));
    salida << n.Cabecera[0] << ' ' << n.Cabecera[1] << ' ' << n.Cabecera[2] << '\n';
    for (int b = 0; b < 4; ++b)
        linea(Formatear(Traducir("Bloque %s"), {std::to_string(b + 1)}),
              Formatear(Traducir("%s bytes (%s comprimidos)"),
                        {std::to_string(n.Bloques[b].TamanoInflado),
                         std::to_string(n.Bloques[b].TamanoComprimido)}));
    linea(Traducir("Valor final"), n.ValorFinal);
    linea(Traducir("Cola"), bytes(n.Cola.size()));
    linea(Traducir("Páginas de textura"), n.NumPaginas());
    linea(Traducir("Cuartos"), n.NumCuartos);
    linea(Traducir("Datos de suelo"), n.NumDatosSuelo);
    linea(Traducir("Palabras de meshes"), n.NumPalabrasMesh);
    linea(Traducir("Punteros de meshes"), n.NumPunterosMesh);
    linea(Traducir("Meshes"), Formatear(Traducir("%s (%s rectángulos, %s triángulos)"),
                                        {std::to_string(r.meshes), std::to_string(r.rectangulos),
                                         std::to_string(r.triangulos)}));
    linea(Traducir("Animaciones"), n.NumAnimaciones);
    linea(Traducir("Movibles"), n.NumMovibles);
    linea(Traducir("Meshes estáticos"), n.NumMeshesEstaticos);
    linea(Traducir("Texturas de objeto"), n.NumTexturasObjeto);
    linea(Traducir("Texturas de sprite"), n.NumTexturasSprite);
    linea(Traducir("Cámaras"), n.NumCamaras);
    linea(Traducir("Fuentes de sonido"), n.NumFuentesSonido);
    linea(Traducir("Cajas"), n.NumCajas);
    linea(Traducir("Items"), n.NumItems);
    std::string cuartos =
        Formatear(Traducir("%s vértices, %s rectángulos, %s triángulos"),
                  {std::to_string(r.verticesCuartos), std::to_string(r.rectangulosCuartos),
                   std::to_string(r.triangulosCuartos)});
    if (r.carasDescartadas > 0)
        cuartos +=
            Formatear(Traducir(" (%s caras descartadas)"), {std::to_string(r.carasDescartadas)});
    linea(Traducir("Geometría de cuartos"), cuartos);
    linea(Traducir("Colocaciones"), TextoColocaciones(r.colocaciones));
    linea(Traducir("Avisos de suelo"), r.avisosSuelo.size());
    for (const std::string& aviso : r.avisosSuelo)
        salida << "  " << aviso << '\n';
}

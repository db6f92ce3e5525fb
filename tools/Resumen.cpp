#include "Resumen.h"
#include "Lista_Mesh.h"

#include <nlohmann/json.hpp>

#include <cstdio>
#include <string>

namespace {

std::string Hex8(uint32_t v) {
    char texto[11];
    std::snprintf(texto, sizeof texto, "0x%08x", v);
    return texto;
}

} // namespace

ResumenNivel Resumir(const trNivel& nivel, const Lista_Mesh* lista) {
    ResumenNivel r;
    r.nivel = &nivel;
    if (!lista)
        return r;
    r.meshes = lista->Cantidad();
    for (int i = 0; i < r.meshes; ++i) {
        trMesh* m = nullptr;
        lista->ObtenerMesh(i, m);
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
    salida << j.dump(2) << '\n';
}

void EscribirTexto(const ResumenNivel& r, std::ostream& salida) {
    const trNivel& n = *r.nivel;
    salida << "Versión:              " << Hex8(n.Version) << '\n'
           << "Cabecera:             " << n.Cabecera[0] << ' ' << n.Cabecera[1] << ' '
           << n.Cabecera[2] << '\n';
    for (int b = 0; b < 4; ++b)
        salida << "Bloque " << b + 1 << ":             " << n.Bloques[b].TamanoInflado << " bytes ("
               << n.Bloques[b].TamanoComprimido << " comprimidos)\n";
    salida << "Valor final:          " << n.ValorFinal << '\n'
           << "Cola:                 " << n.Cola.size() << " bytes\n"
           << "Páginas de textura:   " << n.NumPaginas() << '\n'
           << "Cuartos:              " << n.NumCuartos << '\n'
           << "Datos de suelo:       " << n.NumDatosSuelo << '\n'
           << "Palabras de meshes:   " << n.NumPalabrasMesh << '\n'
           << "Punteros de meshes:   " << n.NumPunterosMesh << '\n'
           << "Meshes:               " << r.meshes << " (" << r.rectangulos << " rectángulos, "
           << r.triangulos << " triángulos)\n"
           << "Animaciones:          " << n.NumAnimaciones << '\n'
           << "Movibles:             " << n.NumMovibles << '\n'
           << "Meshes estáticos:     " << n.NumMeshesEstaticos << '\n'
           << "Texturas de objeto:   " << n.NumTexturasObjeto << '\n'
           << "Texturas de sprite:   " << n.NumTexturasSprite << '\n'
           << "Cámaras:              " << n.NumCamaras << '\n'
           << "Fuentes de sonido:    " << n.NumFuentesSonido << '\n'
           << "Cajas:                " << n.NumCajas << '\n'
           << "Items:                " << n.NumItems << '\n';
}

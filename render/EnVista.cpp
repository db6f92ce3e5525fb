#include "EnVista.h"

#include "ConvencionesNivel.h"
#include "trMesh.h"
#include "trNivel.h"

#include <algorithm>
#include <cmath>

namespace {

// Calls cara(texture, page, corners) for every face drawn textured.
template <class F>
void PorCaraTexturizada(const EnVista& vista, const trNivel& nivel, int32_t numPaginas, F cara) {
    for (const trMesh* m : vista.Meshes) {
        if (!m)
            continue;
        const uint32_t paginas = uint32_t(std::max(numPaginas, 0));
        for (const trRectanguloTex& r : m->Rectangulos)
            if (VerticesValidos(r.Vertices, *m))
                if (const TexturaCara t = TexturaDeCara(nivel, r.Textura, false, paginas); t.Objeto)
                    cara(*t.Objeto, int32_t(t.Pagina), 4);
        for (const trTrianguloTex& r : m->Triangulos)
            if (VerticesValidos(r.Vertices, *m))
                if (const TexturaCara t = TexturaDeCara(nivel, r.Textura, true, paginas); t.Objeto)
                    cara(*t.Objeto, int32_t(t.Pagina), 3);
    }
}

} // namespace

EnVista EnVistaDeMesh(const trMesh& mesh, int32_t indice) {
    EnVista v;
    v.Clase = Elegido::Mesh;
    v.Indice = indice;
    v.Meshes = {&mesh};
    const float cy = float(YEnDispositivo(mesh.CentroY));
    v.Centro = {float(mesh.CentroX), cy, float(mesh.CentroZ)};
    // The turn sweeps each vertex round the vertical axis at its own height.
    double radio2 = 0;
    for (const trVector16& p : mesh.Vertices) {
        const double x = p.X, z = p.Z, y = double(YEnDispositivo(p.Y)) - cy;
        radio2 = std::max(radio2, x * x + z * z + y * y);
    }
    const double radio =
        mesh.Vertices.empty()
            ? double(mesh.Radio) + std::hypot(double(mesh.CentroX), double(mesh.CentroZ))
            : std::sqrt(radio2);
    v.Limite = {0, cy, 0, float(std::max(radio, 1.0))};
    return v;
}

RecuentoVista Contar(const EnVista& vista, const trNivel& nivel, int32_t numPaginas) {
    RecuentoVista r;
    for (const trMesh* m : vista.Meshes) {
        if (!m)
            continue;
        r.Vertices += int32_t(m->Vertices.size());
        r.Rectangulos += int32_t(m->Rectangulos.size());
        r.Triangulos += int32_t(m->Triangulos.size());
    }
    PorCaraTexturizada(vista, nivel, numPaginas, [&](const trTexturaObjeto&, int32_t pagina, int) {
        ++r.Texturizadas;
        r.Paginas.push_back(pagina);
    });
    std::sort(r.Paginas.begin(), r.Paginas.end());
    r.Paginas.erase(std::unique(r.Paginas.begin(), r.Paginas.end()), r.Paginas.end());
    return r;
}

std::vector<Contorno> ContornosEnPagina(const EnVista& vista, const trNivel& nivel,
                                        int32_t pagina) {
    std::vector<Contorno> contornos;
    if (pagina < 0)
        return contornos;
    PorCaraTexturizada(vista, nivel, pagina + 1,
                       [&](const trTexturaObjeto& t, int32_t suPagina, int esquinas) {
                           if (suPagina != pagina)
                               return;
                           Contorno c;
                           c.Esquinas = esquinas;
                           for (int k = 0; k < esquinas; ++k) {
                               c.X[k] = float(TexelEsquina(t.Esquinas[k].X));
                               c.Y[k] = float(TexelEsquina(t.Esquinas[k].Y));
                           }
                           contornos.push_back(c);
                       });
    return contornos;
}

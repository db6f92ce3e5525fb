#include "EscritorNivel.h"
#include "LeerMeshes.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace fixture;

namespace {

MeshFixture MeshConCaras(int rectangulos, int triangulos) {
    MeshFixture m;
    m.centro = {100, -200, 300};
    m.radio = 70000; // real levels hold radii beyond 16 bits
    m.vertices = {{0, 0, 0}, {10, 0, 0}, {10, 10, 0}, {0, 10, 0}};
    m.normales = {{0, 0, 1}, {0, 0, 1}, {0, 0, 1}, {0, 0, 1}};
    for (int i = 0; i < rectangulos; ++i)
        m.rectangulos.push_back({{0, 1, 2, 3}, uint16_t(i), 0});
    for (int i = 0; i < triangulos; ++i)
        m.triangulos.push_back({{0, 1, 2}, uint16_t(10 + i), 0});
    return m;
}

std::unique_ptr<Lista_Mesh> Leer(const Bytes& datos) {
    std::unique_ptr<Lista_Mesh> lista;
    EXPECT_EQ(LeerMeshes(datos.data(), uint32_t(datos.size()), lista), 1);
    return lista;
}

const trMesh& Mesh(const Lista_Mesh& lista, int i) {
    trMesh* m = nullptr;
    EXPECT_EQ(lista.ObtenerMesh(i, m), 1);
    return *m;
}

} // namespace

// The record after a mesh starts right where its padding says; a wrong alignment rule shifts
// every later mesh, so the centre of the mesh that follows is the check.
TEST(LeerMeshes, AlineacionACuatroBytes) {
    struct Caso {
        int triangulos;
        size_t bytes;
        bool alineacion;
    } casos[] = {{0, 80, true}, {1, 88, false}, {2, 100, true}};
    for (const auto& c : casos) {
        SCOPED_TRACE(c.triangulos);
        MeshFixture siguiente;
        siguiente.centro = {-1, -2, -3};
        const Bytes uno = CodificarMeshes({MeshConCaras(1, c.triangulos)});
        EXPECT_EQ(uno.size(), c.bytes);
        auto lista = Leer(CodificarMeshes({MeshConCaras(1, c.triangulos), siguiente}));
        ASSERT_EQ(lista->Cantidad(), 2);
        EXPECT_EQ(Mesh(*lista, 0).Alineacion.has_value(), c.alineacion);
        EXPECT_EQ(Mesh(*lista, 1).CentroX, -1);
        EXPECT_EQ(Mesh(*lista, 1).CentroZ, -3);
    }
}

TEST(LeerMeshes, CamposDeCadaRegistro) {
    MeshFixture luces;
    luces.vertices = {{1, 2, 3}};
    luces.luces = {11, 22, 33};
    luces.rectangulos = {{{0, 0, 0, 0}, 5, 0}};
    MeshFixture nada;
    nada.vertices = {{4, 5, 6}};
    nada.triangulos = {{{0, 0, 0}, 6, 0}};
    auto lista = Leer(CodificarMeshes({MeshConCaras(1, 2), luces, nada}));
    ASSERT_EQ(lista->Cantidad(), 3);

    const trMesh& m = Mesh(*lista, 0);
    EXPECT_EQ(m.CentroY, -200);
    EXPECT_EQ(m.Radio, 70000u);
    ASSERT_EQ(m.Vertices.size(), 4u);
    EXPECT_EQ(m.Vertices[2].X, 10);
    EXPECT_EQ(m.Normales.size(), 4u);
    ASSERT_EQ(m.Rectangulos.size(), 1u);
    EXPECT_EQ(m.Rectangulos[0].Vertices[3], 3);
    ASSERT_EQ(m.Triangulos.size(), 2u);
    EXPECT_EQ(m.Triangulos[1].Textura, 11);

    const trMesh& l = Mesh(*lista, 1);
    EXPECT_EQ(l.NumNormales, -3);
    EXPECT_TRUE(l.Normales.empty());
    EXPECT_EQ(l.Luces, (std::vector<int16_t>{11, 22, 33}));
    EXPECT_EQ(l.Rectangulos.at(0).Textura, 5);

    const trMesh& n = Mesh(*lista, 2);
    EXPECT_EQ(n.NumNormales, 0);
    EXPECT_TRUE(n.Luces.empty());
    EXPECT_EQ(n.Triangulos.at(0).Textura, 6);
}

TEST(LeerMeshes, ListaEnOrdenDeArchivo) {
    std::vector<MeshFixture> meshes(7);
    for (int k = 0; k < 7; ++k)
        meshes[k].centro = {int16_t(k), 0, 0};
    auto lista = Leer(CodificarMeshes(meshes));
    ASSERT_EQ(lista->Cantidad(), 7);
    for (int k = 0; k < 7; ++k)
        EXPECT_EQ(Mesh(*lista, k).CentroX, k);

    trMesh centinela;
    trMesh* m = &centinela;
    EXPECT_EQ(lista->ObtenerMesh(7, m), 0);
    EXPECT_EQ(lista->ObtenerMesh(-1, m), 0);
    EXPECT_EQ(m, &centinela);
}

TEST(LeerMeshes, DatosVaciosNoTocanLaLista) {
    auto previa = std::make_unique<Lista_Mesh>();
    Lista_Mesh* antes = previa.get();
    const uint8_t byte = 0;
    EXPECT_EQ(LeerMeshes(&byte, 0, previa), 0);
    EXPECT_EQ(previa.get(), antes);
}

// Data cut short still ends the walk; a record cut inside keeps what could be read, an array
// whose bytes are missing stays empty rather than holding garbage, and nothing after the cut is
// taken for a record of its own.
TEST(LeerMeshes, DatosCortados) {
    const Bytes entero = CodificarMeshes({MeshConCaras(1, 2)});
    for (size_t largo = 1; largo < entero.size(); ++largo) {
        SCOPED_TRACE(largo);
        std::unique_ptr<Lista_Mesh> lista;
        ASSERT_EQ(LeerMeshes(entero.data(), uint32_t(largo), lista), 1);
        ASSERT_LE(lista->Cantidad(), 1);
        if (lista->Cantidad() == 1) {
            const trMesh& m = Mesh(*lista, 0);
            EXPECT_TRUE(m.Vertices.empty() || m.Vertices.size() == 4);
            EXPECT_TRUE(m.Triangulos.empty() || m.Triangulos.size() == 2);
        }
    }
    // A mesh whose vertex count promises far more than the data holds.
    MeshFixture mentira = MeshConCaras(0, 0);
    Bytes datos = CodificarMeshes({mentira});
    const int16_t muchos = 32767;
    std::memcpy(&datos[10], &muchos, 2);
    auto lista = Leer(datos);
    ASSERT_GE(lista->Cantidad(), 1);
    EXPECT_EQ(Mesh(*lista, 0).NumVertices, 32767);
    EXPECT_TRUE(Mesh(*lista, 0).Vertices.empty());
}

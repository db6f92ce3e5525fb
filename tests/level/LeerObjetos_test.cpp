// Objects read over the raw arrays of fixture levels: what each record says, and what a damaged
// one still yields.
#include "LeerCuadros.h"
#include "NivelLeido.h"

#include <gtest/gtest.h>

#include <numbers>

namespace {

constexpr float CUARTO = std::numbers::pi_v<float> / 2;

std::unique_ptr<NivelLeido> Leer(const fixture::NivelFixture& n) {
    auto l = LeerNivelYObjetos(fixture::EscribirNivel(n));
    EXPECT_EQ(l->resultadoObjetos, 1);
    return l;
}

} // namespace

TEST(LeerObjetos, CadaMovibleConLoQueSePudoLeer) {
    const auto l = Leer(fixture::NivelObjetos());
    const auto& m = l->objetos.Movibles;
    ASSERT_EQ(m.size(), 6u);

    EXPECT_EQ(m[0].Id, 5u);
    EXPECT_EQ(m[0].Meshes, (std::vector<int32_t>{0, 1, 2}));
    EXPECT_TRUE(m[0].Completo);
    EXPECT_EQ(m[0].Animacion, 0);
    EXPECT_EQ(m[0].Colocados, 2u);
    // Mesh 1 pushed the root; mesh 2 popped it, so it hangs from the root and not from mesh 1.
    ASSERT_EQ(m[0].Nodos.size(), 3u);
    EXPECT_EQ(m[0].Nodos[1].Padre, 0);
    EXPECT_EQ(m[0].Nodos[1].X, 100);
    EXPECT_EQ(m[0].Nodos[2].Padre, 0);
    EXPECT_EQ(m[0].Nodos[2].Y, 200);
    EXPECT_EQ(m[0].RaizX, 10);
    EXPECT_EQ(m[0].RaizY, 20);
    EXPECT_EQ(m[0].RaizZ, 30);
    ASSERT_EQ(m[0].Giros.size(), 3u);
    EXPECT_FLOAT_EQ(m[0].Giros[0].Y, CUARTO);
    EXPECT_FLOAT_EQ(m[0].Giros[1].X, 2 * CUARTO);
    EXPECT_FLOAT_EQ(m[0].Giros[2].Z, CUARTO);

    const struct {
        size_t indice;
        uint32_t id;
        std::vector<int32_t> meshes;
        bool completo;
        const char* porque;
    } casos[] = {
        {1, 6, {-1}, false, "a pointer into a record; the next past the pointers"},
        {2, 7, {0, 1}, false, "its tree starts past the mesh trees"},
        {3, 9, {0}, false, "its frame starts past the frames"},
        {4, 10, {0, 1, 2}, false, "its last rotation is cut by the end of the frames"},
        {5, 11, {1}, true, "no animation: its frame offset is never read"},
    };
    for (const auto& c : casos) {
        SCOPED_TRACE(c.porque);
        const trMovible& x = m[c.indice];
        EXPECT_EQ(x.Id, c.id);
        EXPECT_EQ(x.Meshes, c.meshes);
        EXPECT_EQ(x.Completo, c.completo);
        EXPECT_EQ(x.Nodos.size(), x.Meshes.size());
        EXPECT_EQ(x.Giros.size(), x.Meshes.size());
    }
    EXPECT_EQ(m[1].NumMeshes, 2) << "the count stays as the file says";
    EXPECT_EQ(m[1].Colocados, 1u);
    EXPECT_EQ(m[2].Nodos[1].Padre, 0) << "a mesh without its tree hangs from the root";
    // What was read before the cut stays.
    EXPECT_FLOAT_EQ(m[4].Giros[1].X, 2 * CUARTO);
    EXPECT_FLOAT_EQ(m[4].Giros[2].Z, 0);
}

TEST(LeerObjetos, EstaticosYSusColocaciones) {
    const auto l = Leer(fixture::NivelObjetos());
    const auto& e = l->objetos.Estaticos;
    ASSERT_EQ(e.size(), 3u);
    EXPECT_EQ(e[0].Id, 38u);
    EXPECT_EQ(e[0].Mesh, 2);
    EXPECT_EQ(e[0].Colocados, 3u);
    EXPECT_EQ(e[0].Visibilidad[5], 3);
    EXPECT_EQ(e[0].Colision[0], -4);
    EXPECT_EQ(e[0].Banderas, 7);
    EXPECT_EQ(e[1].Mesh, -1) << "a pointer into the middle of a record names no mesh";
    EXPECT_EQ(e[2].Mesh, -1) << "a pointer past the end";
    EXPECT_EQ(e[2].Colocados, 1u);

    // The placements themselves, room by room, and the items.
    const auto& c = l->objetos.Colocaciones;
    ASSERT_EQ(c.size(), 4u);
    EXPECT_EQ(c[2].Cuarto, 1);
    EXPECT_EQ(c[2].X, 1024);
    EXPECT_EQ(c[2].Id, 38);
    EXPECT_EQ(c[3].Id, 40);
    ASSERT_EQ(l->objetos.Items.size(), 4u);
    const trItem& item = l->objetos.Items[1];
    EXPECT_EQ(item.Objeto, 6);
    EXPECT_EQ(item.Cuarto, 1);
    EXPECT_EQ(item.X, -100);
    EXPECT_EQ(item.Y, 200);
    EXPECT_EQ(item.Z, 300);
    EXPECT_EQ(item.Angulo, 16384);
    EXPECT_EQ(item.Banderas, 9);
    EXPECT_EQ(l->objetos.Items[3].Objeto, -1);
}

TEST(LeerObjetos, SinMeshesNadaSeNombraYNadaSeLeeFuera) {
    // The same objects over mesh data cut after one record's first fields, then with no list.
    fixture::NivelFixture n = fixture::NivelObjetos();
    n.datosMeshCrudos = fixture::Bytes(6, 0xA5);
    const auto l = Leer(n);
    EXPECT_EQ(l->objetos.Movibles[0].Meshes, (std::vector<int32_t>{0, -1, -1}));
    EXPECT_FALSE(l->objetos.Movibles[0].Completo);
    trObjetos sinLista;
    LeerObjetos(l->nivel, nullptr, sinLista);
    EXPECT_EQ(sinLista.Movibles.size(), 6u);
    EXPECT_FALSE(sinLista.Movibles[0].Completo);

    // Filler where the records stand: absurd counts and offsets, read without leaving an array;
    // and more moveables than any level has ids for, of which the first 65536 are read.
    fixture::NivelFixture relleno;
    relleno.numMovibles = 70000;
    relleno.numMeshesEstaticos = 9;
    relleno.numArbolesMesh = 3;
    relleno.numCuadros = 5;
    const auto r = Leer(relleno);
    ASSERT_EQ(r->objetos.Movibles.size(), 65536u);
    for (const trMovible& m : r->objetos.Movibles) {
        EXPECT_TRUE(m.Meshes.empty());
        EXPECT_FALSE(m.Completo);
    }
}

TEST(LeerGiro, LasCuatroFormas) {
    const struct {
        std::vector<uint16_t> palabras;
        uint64_t avance;
        trGiro giro;
    } casos[] = {
        // x = 256, y = 512 + 1, z = 1023 in 1024ths, across two words.
        {{(256 << 4) | (513 >> 6), uint16_t(((513 & 0x3F) << 10) | 1023)},
         2,
         {256 * CUARTO / 256, 513 * CUARTO / 256, 1023 * CUARTO / 256}},
        {{0x4000 | 4095}, 1, {4095 * CUARTO / 1024, 0, 0}},
        {{0x8000 | 1}, 1, {0, CUARTO / 1024, 0}},
        {{0xC000 | 2048}, 1, {0, 0, 2 * CUARTO}},
    };
    for (const auto& c : casos) {
        uint64_t i = 0;
        trGiro g;
        ASSERT_TRUE(
            LeerGiro(reinterpret_cast<const uint8_t*>(c.palabras.data()), c.palabras.size(), i, g));
        EXPECT_EQ(i, c.avance);
        EXPECT_FLOAT_EQ(g.X, c.giro.X);
        EXPECT_FLOAT_EQ(g.Y, c.giro.Y);
        EXPECT_FLOAT_EQ(g.Z, c.giro.Z);
        // One word short: nothing read, nothing moved.
        i = 0;
        trGiro intacto{9, 9, 9};
        EXPECT_FALSE(LeerGiro(reinterpret_cast<const uint8_t*>(c.palabras.data()),
                              c.palabras.size() - 1, i, intacto));
        EXPECT_EQ(i, 0u);
        EXPECT_EQ(intacto.X, 9);
    }
}

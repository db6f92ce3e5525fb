#pragma once
// A fixture level read as the viewer reads it: the level, its mesh list and its objects.
#include "CargarNivel.h"
#include "EscritorNivel.h"
#include "LeerMeshes.h"
#include "LeerObjetos.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

struct NivelLeido {
    trNivel nivel;
    std::unique_ptr<Lista_Mesh> lista;
    trObjetos objetos;
    int resultadoObjetos = 0; // what LeerObjetos returned
};

inline std::unique_ptr<NivelLeido> LeerNivelYObjetos(const fixture::Bytes& archivo) {
    auto l = std::make_unique<NivelLeido>();
    std::string motivo;
    EXPECT_EQ(CargarNivelDeMemoria(archivo.data(), archivo.size(), l->nivel, &motivo), 1) << motivo;
    LeerMeshes(l->nivel.DatosMesh.data(), uint32_t(l->nivel.DatosMesh.size()), l->lista);
    l->resultadoObjetos = LeerObjetos(l->nivel, l->lista.get(), l->objetos);
    return l;
}

#pragma once
// A level opened as the viewer opens it, on a real GL device drawing to an off-screen surface: what
// the tests that compare pictures of real levels set up before they draw.
#include "Hecho.h"
#include "NivelSubido.h"
#include "SuperficieEGL.h"
#include "dxDevice8.h"
#include "dxMain.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>

struct NivelEnGL {
    // Declared in the order they are made, so that each goes before what it stands on.
    std::unique_ptr<SuperficieEGL> superficie;
    dxMain principal;
    std::unique_ptr<dxDevice8> dispositivo;
    std::unique_ptr<NivelSubido> nivel;

    // Why the test cannot run on this machine ("" when it can): the level or OpenGL is missing.
    // A device or a level that fails past that is the test's failure: `nivel` is then left empty.
    std::string Abrir(const std::string& ruta, int ancho, int alto, uint8_t rojo, uint8_t verde,
                      uint8_t azul) {
        if (!std::filesystem::exists(ruta))
            return "sin " + ruta;
        std::string motivo;
        superficie = SuperficieEGL::Crear(ancho, alto, &motivo);
        if (!superficie)
            return "sin OpenGL: " + motivo;
        if (principal.IniciarD3D() != D3D_OK ||
            principal.CrearDispositivo(superficie.get(), 1, dispositivo) != D3D_OK ||
            dispositivo->SetColorFondo(rojo, verde, azul) != D3D_OK) {
            ADD_FAILURE() << "el dispositivo no se creó";
            return "";
        }
        if (const Hecho h = AbrirNivel(ruta.c_str(), dispositivo.get(), nivel); !h)
            ADD_FAILURE() << h.Motivo();
        return "";
    }
};

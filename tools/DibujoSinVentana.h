#pragma once
// The off-screen surface and the device on it, for the commands that draw without a window.
#include "Hecho.h"
#include "SuperficieEGL.h"
#include "dxMain.h"

#include <memory>
#include <string>

struct DibujoSinVentana {
    // Members go in the order GL needs them released: device, Direct3D object, surface. A level
    // opened on the device must be released before all three.
    std::unique_ptr<SuperficieEGL> Superficie;
    dxMain Principal;
    std::unique_ptr<dxDevice8> Dispositivo;
};

// Not done, with the reason starting "sin OpenGL: ", when there is no OpenGL to draw with.
Hecho PrepararDibujo(int ancho, int alto, DibujoSinVentana& dibujo);

// --background's value: black, grey (or gray) or white, in English or Spanish, as 0xRRGGBB.
// Empty text is black. Not done for anything else.
Hecho LeerFondo(const std::string& texto, uint32_t& rgb);

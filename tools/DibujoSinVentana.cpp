#include "DibujoSinVentana.h"

#include "Idioma.h"

Hecho PrepararDibujo(int ancho, int alto, DibujoSinVentana& dibujo) {
    std::string motivo;
    dibujo.Superficie = SuperficieEGL::Crear(ancho, alto, &motivo);
    if (!dibujo.Superficie)
        return Hecho::Fallo(Traducir("sin OpenGL: ") + motivo);
    if (dibujo.Principal.IniciarD3D() != D3D_OK ||
        dibujo.Principal.CrearDispositivo(dibujo.Superficie.get(), 1, dibujo.Dispositivo) !=
            D3D_OK)
        return Hecho::Fallo(Traducir("sin OpenGL: no se pudo crear el dispositivo de dibujo"));
    return {};
}

Hecho LeerFondo(const std::string& texto, uint32_t& rgb) {
    if (texto.empty() || texto == "black" || texto == "negro")
        rgb = 0x000000;
    else if (texto == "grey" || texto == "gray" || texto == "gris")
        rgb = 0x808080;
    else if (texto == "white" || texto == "blanco")
        rgb = 0xFFFFFF;
    else
        return Hecho::Fallo(Traducir("se espera black, grey o white"));
    return {};
}

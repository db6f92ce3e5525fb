#include "DibujoSinVentana.h"

#include "Idioma.h"

bool PrepararDibujo(int ancho, int alto, DibujoSinVentana& dibujo, std::string& motivo) {
    dibujo.Superficie = SuperficieEGL::Crear(ancho, alto, &motivo);
    if (!dibujo.Superficie) {
        motivo = Traducir("sin OpenGL: ") + motivo;
        return false;
    }
    if (dibujo.Principal.IniciarD3D() != D3D_OK ||
        dibujo.Principal.CrearDispositivo(dibujo.Superficie.get(), 1, dibujo.Dispositivo) !=
            D3D_OK) {
        motivo = Traducir("sin OpenGL: no se pudo crear el dispositivo de dibujo");
        return false;
    }
    return true;
}

#include "ControladorVista.h"

void ControladorVista::Mostrar(const EnVista& vista) {
    enVista_ = vista;
    if (vista.Clase != EnVista::Tipo::Movible)
        SoltarMovible();
}

void ControladorVista::Quitar() {
    enVista_.reset();
    SoltarMovible();
}

void ControladorVista::SetMovible(int64_t indice, int64_t prestadas) {
    movible_ = indice;
    prestadas_ = indice < 0 ? -1 : prestadas;
}

bool ControladorVista::OtroMovible(int64_t indice, int64_t prestadas) const {
    return movible_ < 0 || movible_ != indice || prestadas_ != prestadas;
}

std::optional<ControladorVista::Exportacion> ControladorVista::Exportar() const {
    if (!enVista_)
        return std::nullopt;
    Exportacion e;
    switch (enVista_->Clase) {
    case EnVista::Tipo::Mesh:
        e.Opciones.Que = OpcionesGLTF::Tipo::Mesh;
        break;
    case EnVista::Tipo::Movible:
        e.Opciones.Que = OpcionesGLTF::Tipo::Movible;
        e.Opciones.Animadas.MeshesDe = prestadas_;
        e.Opciones.Animadas.Todas = true;
        break;
    case EnVista::Tipo::Estatico:
        e.Opciones.Que = OpcionesGLTF::Tipo::Estatico;
        break;
    case EnVista::Tipo::Nivel:
        e.Opciones.Que = OpcionesGLTF::Tipo::Nivel;
        break;
    }
    e.Opciones.Numero = enVista_->Indice;
    e.Nombre = NombreExportacion(e.Opciones);
    return e;
}

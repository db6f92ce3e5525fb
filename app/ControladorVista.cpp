#include "ControladorVista.h"

void ControladorVista::Mostrar(const EnVista& vista) {
    enVista_ = vista;
    if (vista.Clase != Elegido::Movible)
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
    e.Opciones.Que = enVista_->Clase;
    if (enVista_->Clase == Elegido::Movible) {
        e.Opciones.Animadas.MeshesDe = prestadas_;
        e.Opciones.Animadas.Todas = true;
    }
    e.Opciones.Numero = enVista_->Indice;
    e.Nombre = NombreExportacion(e.Opciones);
    return e;
}

#pragma once
// The camera of what the panel shows, moved by the panel's mouse and keys and by Ver's entries. A
// mesh or an object orbits its centre and turns by itself (Navegacion); the level view flies
// (CamaraVuelo): W A S D Q E or the arrows and Page keys move it, Shift faster, and Space turns it
// about its pivot. A press and release in place is a click that picks; a double click frames.
#include "CamaraVuelo.h"
#include "EscenaNivel.h"
#include "Navegacion.h"

#include <QElapsedTimer>
#include <QPointF>

#include <cstdint>
#include <functional>
#include <set>

class PanelGL;
class QEvent;
class QMouseEvent;

class ControlesVista {
  public:
    explicit ControlesVista(PanelGL* panel) : panel_(panel) {}

    // What the window answers for. A click at the panel's (x, y) picks what is under it (true
    // when something was met); the part of the level's scene picked last (-1: none); what the
    // level view draws; Home in the level view (the whole level, where it opened).
    std::function<bool(float x, float y)> Elegir;
    std::function<int32_t()> ParteElegida;
    std::function<OpcionesNivel()> Opciones;
    std::function<void()> NivelCompleto;
    // After the camera moves; after what runs changes (keys held, turning on or off); with
    // whether Ver's "Pausar el giro" shows ticked.
    std::function<void()> Redibujar;
    std::function<void()> CambioMarcha;
    std::function<void(bool pausado)> AlPausar;

    // The level's scene while the level view is on show, else null (a mesh or an object).
    void SetNivel(const EscenaNivel* escena) { escena_ = escena; }
    bool EnNivel() const { return escena_ != nullptr; }
    // What is on show changed: no key stays held and the level stops turning.
    void Soltar();

    // Mouse, wheel and key events on the panel; true when taken.
    bool Interactuar(QEvent* evento);
    // F: what a click picked in the level (else all that is lit), or the object to fit.
    void Encuadrar();
    // Frames the part picked last in the level view; false when nothing is picked.
    bool EncuadrarElegido();
    // Space.
    void AlternarGiro();
    // Home.
    void VistaInicial();

    // One frame's motion: the object's turn; in the level, the flight by the keys held and the
    // turn about the pivot.
    void Avanzar();
    // Whether frames should run for the camera's sake.
    bool Anda() const;

    Navegacion& Camara() { return navegacion_; }
    const Navegacion& Camara() const { return navegacion_; }
    CamaraVuelo& Vuelo() { return vuelo_; }
    const CamaraVuelo& Vuelo() const { return vuelo_; }

  private:
    bool InteractuarObjeto(QEvent* evento);
    bool InteractuarVuelo(QEvent* evento);
    // A drag by `delta` pixels with the event's buttons; false when it moves nothing.
    bool Arrastrar(const QMouseEvent& evento, QPointF delta);
    // Moves the fly camera for `segundos` by the keys held.
    void MoverVuelo(float segundos);
    void Dibujar() const {
        if (Redibujar)
            Redibujar();
    }
    void Marcha() const {
        if (CambioMarcha)
            CambioMarcha();
    }
    void Pausado(bool si) const {
        if (AlPausar)
            AlPausar(si);
    }

    PanelGL* panel_;
    const EscenaNivel* escena_ = nullptr;
    Navegacion navegacion_;
    CamaraVuelo vuelo_;
    // Movement keys held on the panel, and since when the camera last moved by them.
    std::set<int> teclasVuelo_;
    bool rapido_ = false;
    QElapsedTimer relojVuelo_;
    // The level view turns about its pivot while Space has it turning.
    bool giroNivel_ = false;
    // Where the left or middle button went down, and whether the pointer moved since: a press
    // and release in place is a click that picks.
    QPointF pulsado_;
    bool arrastrado_ = false;
    QPointF ultimoRaton_;
};

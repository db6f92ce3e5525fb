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

#include <QObject>
#include <cstdint>
#include <set>

class PanelGL;
class QEvent;
class QMouseEvent;

class ControlesVista : public QObject {
    Q_OBJECT

  public:
    explicit ControlesVista(PanelGL* panel, QObject* padre = nullptr)
        : QObject(padre), panel_(panel) {}

    // What the level view draws, as the window's choices stand: framing holds what is drawn.
    void SetOpciones(const OpcionesNivel& opciones) { opciones_ = opciones; }
    // The part of the level's scene a click picked last (-1: none), as the window's pick found.
    void SetParteElegida(int32_t parte) { parte_ = parte; }

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

    // One frame's motion by the time since the last: the object's turn; in the level, the flight
    // by the keys held and the turn about the pivot.
    void Avanzar();
    // The same for `segundos` passed, whatever the clock says.
    void Avanzar(double segundos);
    // Whether frames should run for the camera's sake.
    bool Anda() const;

    Navegacion& Camara() { return navegacion_; }
    const Navegacion& Camara() const { return navegacion_; }
    CamaraVuelo& Vuelo() { return vuelo_; }
    const CamaraVuelo& Vuelo() const { return vuelo_; }

  signals:
    // A click at the panel's (x, y): the window picks what is under it and answers with
    // SetParteElegida before the signal returns.
    void Clic(float x, float y);
    // Home in the level view: the whole level, where it opened.
    void PideNivelCompleto();
    // The camera moved; what runs changed (keys held, turning on or off); Ver's "Pausar el giro"
    // should show ticked or not.
    void Movida();
    void CambioMarcha();
    void Pausado(bool si);

  private:
    bool InteractuarObjeto(QEvent* evento);
    bool InteractuarVuelo(QEvent* evento);
    bool TeclaDeVista(int tecla);
    // A drag by `delta` pixels with the event's buttons; false when it moves nothing.
    bool Arrastrar(const QMouseEvent& evento, QPointF delta);
    // Moves the fly camera for `segundos` by the keys held.
    void MoverVuelo(float segundos);
    PanelGL* panel_;
    const EscenaNivel* escena_ = nullptr;
    OpcionesNivel opciones_;
    int32_t parte_ = -1;
    // The clock of the turns; invalid while nothing turns, so a pause is no leap.
    QElapsedTimer relojGiro_;
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

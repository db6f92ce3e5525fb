#pragma once
// The window's status bar: what is on show (a mesh's or an object's counts, size and pages), the
// open level's file and size, and the frames per second while it turns.
#include <QElapsedTimer>
#include <QStatusBar>

#include <cstdint>

#include "EscenaNivel.h"

class QLabel;
struct EnVista;
struct trNivel;

class BarraEstado : public QStatusBar {
    Q_OBJECT

  public:
    explicit BarraEstado(QWidget* padre = nullptr);

    // Null clears it. The pages counted are those the level's texture pages hold.
    void SetVista(const EnVista* vista, const trNivel& nivel, int32_t numPaginas);
    void QuitarVista();
    // The whole level: its counts, what the options hide, and the room framed (-1: none).
    void SetNivelCompleto(const EscenaNivel::Cuentas& cuentas, const OpcionesNivel& opciones,
                          int32_t cuarto);
    // An empty path clears it.
    // The file, the game that wrote it and its size.
    void SetNivel(const QString& ruta, qint64 bytes, int juego = 4);
    // A negative rate clears it.
    void SetCuadros(double porSegundo);
    // One frame: drawn while frames run, or not (then the rate clears). The rate shows once a
    // second, counted from the first frame drawn.
    void ContarCuadro(bool dibujado);

  private:
    QLabel* vista_;
    QLabel* nivel_;
    QLabel* cuadros_;
    QElapsedTimer reloj_;
    // Frames drawn since reloj_ started; -1 while none are counted.
    int contados_ = -1;
};

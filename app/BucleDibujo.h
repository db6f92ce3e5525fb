#pragma once
// The panel's frames: the device that draws them, what each one draws of what is on show, and
// the timer that runs them while the window is on screen and something turns or plays; otherwise
// one frame is drawn when something changes. The status bar counts the frames the timer runs.
#include "dxMain.h"

#include <QCoreApplication>
#include <QString>

#include <glm/glm.hpp>

#include <memory>
#include <vector>

class BarraAnimacion;
class BarraEstado;
class ControlesVista;
class MenuVer;
class PanelDetalles;
class PanelGL;
class QRadioButton;
class QTimer;
class QWidget;
struct EstadoVentana;
struct IDirect3DTexture8;

class BucleDibujo {
    Q_DECLARE_TR_FUNCTIONS(BucleDibujo)

  public:
    // What a frame reads and where it is counted; the window owns them all.
    struct Partes {
        QWidget* Ventana;
        PanelGL* Panel;
        QTimer* Reloj;
        ControlesVista* Controles;
        MenuVer* Ver;
        BarraAnimacion* Animacion;
        QRadioButton* Texturizado;
        QRadioButton* Alambre;
        PanelDetalles* Detalles;
        BarraEstado* Barra;
    };
    // The frame poses the object on show as its animation plays.
    BucleDibujo(const Partes& partes, EstadoVentana& estado);
    ~BucleDibujo();

    // Makes the panel's device. Empty when it can draw; else why not, to tell the user.
    QString Iniciar();
    dxDevice8* Dispositivo() const;
    // Releases the start-up texture and the device; the level's buffers must be gone first.
    void Soltar();

    // The viewer's own projection for the panel's size.
    void Proyectar();
    // Ver's background colour.
    void AplicarFondo();

    // One frame of what is on show.
    void Dibujar();
    // Frames run while the window is on screen and something turns; otherwise one is drawn when
    // something changes.
    void ActualizarTimer();
    void Redibujar();

  private:
    // The status bar counts the frames drawn while the timer runs them.
    void ContarCuadro(bool dibujado);

    struct LiberarTextura {
        void operator()(IDirect3DTexture8* t) const;
    };

    Partes p_;
    EstadoVentana& estado_;
    dxMain d3d_;
    std::unique_ptr<dxDevice8> dispositivo_;
    std::unique_ptr<IDirect3DTexture8, LiberarTextura> texturaInicio_;
    std::vector<glm::mat4> pose_;
};

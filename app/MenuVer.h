#pragma once
// The menu "Ver": the camera's entries (naming the panel's keys), the whole level, what the level
// view draws (statics, items, which alternate rooms stand for their originals, tinted water, and
// wireframe as the render mode's other face),
// whether its items play their animations,
// whether a mesh is framed to fit when shown, whether an animation's sounds play, the lighting
// and background, and the docks' toggles. Each choice is remembered between runs as soon as it is
// made.
#include "EscenaNivel.h"

#include <QObject>

#include <functional>
#include <vector>

class AnimarNivel;
class ControlesVista;
class MenuApariencia;
class QAction;
class QActionGroup;
class QDockWidget;
class QMenu;
class QMenuBar;
class QRadioButton;
class QSettings;

class MenuVer : public QObject {
    Q_OBJECT

  public:
    // Adds "Ver" to `barra` and reads what was chosen last time. The camera's entries move
    // `controles`; `texturizado` and `alambre` are the render mode's buttons; the docks' toggles
    // come last.
    MenuVer(QMenuBar* barra, ControlesVista* controles, QRadioButton* texturizado,
            QRadioButton* alambre, QDockWidget* detalles, QDockWidget* paginas,
            QDockWidget* sonidos, QObject* padre);

    // Ver -> Nivel completo; after a change to what the level view draws; after the background.
    std::function<void()> AlNivelCompleto;
    std::function<void()> AlCambiarOpcion;
    std::function<void()> AlCambiarFondo;
    // Ver -> Sonido ticked or not.
    std::function<void(bool)> AlCambiarSonido;

    // What the "Nivel" view draws, from the toggles, the render mode and the lighting.
    OpcionesNivel Opciones() const;
    // Salas alternas: a choice per alternate group of the open level (none before one opens).
    void SetGruposAlternos(const std::vector<uint8_t>& grupos);
    // Salas alternas set to group `grupo` (0-255), every group (TODAS) or none (NINGUNA), as if
    // chosen in the menu; false for a group the open level has no entry for.
    static constexpr int NINGUNA = -1, TODAS = -2;
    bool ElegirSalasAlternas(int grupo);
    // A dock's show/hide action, among the docks', above the texture pages' (kept last).
    void AgregarPanel(QAction* accion);
    bool AjustarAlMostrar() const;
    // The sounds of a playing animation are heard.
    bool Sonido() const;
    // "Pausar el giro" ticked or not, as the camera turns or stands.
    void SetPausado(bool si);
    MenuApariencia* Apariencia() const { return apariencia_; }
    AnimarNivel* Animar() const { return animar_; }
    // Writes every choice of the menu.
    void Guardar(QSettings& ajustes) const;

  private:
    void Avisar(const std::function<void()>& aviso) const {
        if (aviso)
            aviso();
    }

    QMenu* ver_;
    QRadioButton* texturizado_;
    QRadioButton* alambreBoton_;
    MenuApariencia* apariencia_ = nullptr;
    AnimarNivel* animar_ = nullptr;
    QAction* pausar_ = nullptr;
    QAction* ajustarAlMostrar_ = nullptr;
    QAction* sonido_ = nullptr;
    QAction* estaticos_ = nullptr;
    QAction* items_ = nullptr;
    // Salas alternas: what was chosen last (NINGUNA, TODAS or a group, which a level without
    // that group shows as none and keeps for the next), and its entries.
    int salas_ = NINGUNA;
    QMenu* menuSalas_ = nullptr;
    QActionGroup* grupoSalas_ = nullptr;
    QAction* ninguna_ = nullptr;
    QAction* todas_ = nullptr;
    QAction* aguaTenida_ = nullptr;
    QAction* disparadores_ = nullptr;
    QAction* marcadores_ = nullptr;
    QAction* alambre_ = nullptr; // the same choice as the wireframe button
};

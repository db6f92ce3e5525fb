#pragma once
// A click on the panel: picks what is under it in what is on show (a part of the level, or a mesh
// of an object; a mesh of the list is all there is, so it picks nothing), outlines it and
// describes it in the details dock. In the level, where clicks are for asking, the dock opens
// itself; an object's view keeps its panel whole unless the dock was opened.
#include <QCoreApplication>

class BucleDibujo;
class ControlesVista;
class MenuVer;
class PanelDetalles;
class PanelGL;
class SitioDocks;
struct EstadoVentana;

class ClicEnPanel {
    Q_DECLARE_TR_FUNCTIONS(ClicEnPanel)

  public:
    struct Partes {
        PanelGL* Panel;
        ControlesVista* Controles;
        MenuVer* Ver;
        PanelDetalles* Detalles;
        SitioDocks* Docks;
    };
    ClicEnPanel(const Partes& partes, const EstadoVentana& estado, const BucleDibujo& bucle)
        : p_(partes), estado_(estado), bucle_(bucle) {}

    // At the panel's own pixels (x, y). True when something was met.
    bool Elegir(float x, float y);

  private:
    Partes p_;
    const EstadoVentana& estado_;
    const BucleDibujo& bucle_;
};

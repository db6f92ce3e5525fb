#pragma once
// "Ver -> Iluminación" and "Ver -> Fondo": how the level's rooms are lit (their vertex colours,
// or full light for rooms the data leaves black) and the colour behind everything (black, grey,
// white). Both remembered between runs.
#include <QObject>

#include <cstdint>
#include <functional>

class QAction;
class QActionGroup;
class QMenu;

class MenuApariencia : public QObject {
    Q_OBJECT

  public:
    enum class Fondo { Negro, Gris, Blanco };

    // Adds both submenus to `ver` and reads what was chosen last time.
    MenuApariencia(QMenu* ver, QObject* padre);

    bool LuzPlena() const;
    Fondo ColorFondo() const;
    // 0..255 each, as dxDevice8::SetColorFondo takes them.
    static void Componentes(Fondo fondo, int32_t& rojo, int32_t& verde, int32_t& azul);

    void SetLuzPlena(bool si);
    void SetFondo(Fondo fondo);

    // Called after the user changes either.
    std::function<void()> AlCambiar;

    QAction* AccionLuz(bool plena) const { return plena ? luzPlena_ : colores_; }
    QAction* AccionFondo(Fondo f) const;

  private:
    void Cambio();

    QActionGroup* luz_;
    QActionGroup* fondo_;
    QAction* colores_;
    QAction* luzPlena_;
    QAction* negro_;
    QAction* gris_;
    QAction* blanco_;
};

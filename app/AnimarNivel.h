#pragma once
// "Ver -> Animar": every item of the level view plays its first animation in place, looped, on
// a clock of its own (30 game frames a second from when it was switched on). Off by default,
// remembered between runs. The window calls Aplicar before each frame of the level.
#include <QElapsedTimer>
#include <QObject>

#include <functional>

class QAction;
class QMenu;
struct NivelSubido;

class AnimarNivel : public QObject {
    Q_OBJECT

  public:
    // Adds the entry to `ver` and reads what was chosen last time.
    AnimarNivel(QMenu* ver, QObject* padre);

    bool Activo() const;
    void SetActivo(bool si);
    QAction* Accion() const { return accion_; }

    // The level's items posed for now while on; back in their still pose, once, when off.
    void Aplicar(NivelSubido& nivel);

    // Called after the user switches it.
    std::function<void()> AlCambiar;

  private:
    QAction* accion_;
    QElapsedTimer reloj_;
};

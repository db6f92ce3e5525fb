#pragma once
// The docks at the window's right make their own room: the first opened (from Ver, or by the
// window on a pick) widens the window by its width as far as the screen allows, so the 3D panel
// keeps its size; one opened beside another shares its place as a tab; the last closed gives the
// width back. A maximised or full-screen window, a floating dock and a dock the window restores
// open at start take nothing.
#include <QObject>

#include <vector>

class QDockWidget;
class QMainWindow;

class SitioDocks : public QObject {
    Q_OBJECT

  public:
    explicit SitioDocks(QMainWindow* ventana);

    // `dock` (already in the window) makes room when its Ver entry opens it.
    void Agregar(QDockWidget* dock);
    // Shows `dock` as its Ver entry would.
    void Abrir(QDockWidget* dock);

  protected:
    bool eventFilter(QObject* objeto, QEvent* evento) override;

  private:
    void Cambio(QDockWidget* dock, bool abierto);
    // A dock other than `dock` showing in the window's right column; null when none.
    QDockWidget* OtroAbierto(const QDockWidget* dock) const;

    QMainWindow* ventana_;
    std::vector<QDockWidget*> docks_;
    // What the window was widened by, and its width while no dock showed: all of what it grew
    // by goes back with the last dock.
    int tomado_ = 0;
    int antes_ = 0;
};

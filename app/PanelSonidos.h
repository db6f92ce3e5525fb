#pragma once
// The dock of the level's sounds: every sound id its map names, with the samples it picks from,
// and every sample that cannot be heard with its reason. A click (or Enter) plays the sound.
#include <QDockWidget>

class QLabel;
class QListWidget;
class QListWidgetItem;
class ReproductorSonido;

class PanelSonidos : public QDockWidget {
    Q_OBJECT

  public:
    PanelSonidos(ReproductorSonido* reproductor, QWidget* padre = nullptr);

    // Lists the sounds the player holds now (after its SetNivel).
    void Llenar();
    QListWidget* Lista() const { return lista_; }

  private:
    void Tocar(QListWidgetItem* entrada);

    ReproductorSonido* reproductor_;
    QLabel* resumen_;
    QListWidget* lista_;
};

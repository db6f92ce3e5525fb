#pragma once
// The dock that lists every trigger of the open level, filtered by type and by action ("flip
// maps" takes all three flip actions); choosing one hands it to AlElegir, which flies to its
// sector.
#include "trSectores.h"

#include <QDockWidget>

#include <functional>

class QComboBox;
class QTreeWidget;

class PanelDisparadores : public QDockWidget {
    Q_OBJECT

  public:
    explicit PanelDisparadores(QWidget* padre = nullptr);

    // The level's logic, kept by whoever holds the level; null when none is open.
    void SetLogica(const trLogica* logica);
    std::function<void(const trDisparador&)> AlElegir;

    // The filters' values: -1 every type or action, FILTRO_MAPAS every flip action.
    static constexpr int FILTRO_MAPAS = -2;
    void Filtrar(int tipo, int accion);
    // Rows shown, for those who test the dock; each row's trigger index.
    QTreeWidget* Lista() const { return lista_; }
    int IndiceDeFila(int fila) const;

  private:
    void Llenar();

    const trLogica* logica_ = nullptr;
    QComboBox* tipo_;
    QComboBox* accion_;
    QTreeWidget* lista_;
};

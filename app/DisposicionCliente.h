#pragma once
// The window's client area as designed, 1059 x 864: the render panel with the animation bar under
// it at the left; at the right a column of the meshes' list, the render mode and the object tree,
// each as tall as its content wants. The controls keep the names the window has always given
// them; whoever holds the window wires them.
#include <QCoreApplication>

class ArbolObjetos;
class BarraAnimacion;
class PanelGL;
class QGroupBox;
class QLabel;
class QListWidget;
class QMainWindow;
class QRadioButton;
class QWidget;

class DisposicionCliente {
    Q_DECLARE_TR_FUNCTIONS(DisposicionCliente)

  public:
    // Builds the controls in a new central widget of `ventana`, which owns them.
    explicit DisposicionCliente(QMainWindow* ventana);

    static constexpr int ANCHO_CLIENTE = 1059, ALTO_CLIENTE = 864;
    // A row of the meshes' list.
    static constexpr int ALTO_ENTRADA = 13;

    QWidget* Panel1Marco;
    PanelGL* Panel1;
    QLabel* Label1;
    QListWidget* ListBox1;
    QGroupBox* RadioGroup1;
    QRadioButton* RadioButton1;
    QRadioButton* RadioButton2;
    ArbolObjetos* TreeView1;
    BarraAnimacion* Animacion1;
};

#pragma once
// The window's client area as designed, 1059 x 864: the render panel with the animation bar under
// it at the left; at the right a column of the meshes' list, the render mode and the object tree,
// each as tall as its content wants. The controls keep the names the window has always given
// them; the window that is laid out so holds them, and wires them.
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
    // Builds the controls in a new central widget of `ventana`, which owns them; in its font, so
    // that the captions are measured as they will show.
    void Disponer(QMainWindow* ventana);

    static constexpr int ANCHO_CLIENTE = 1059, ALTO_CLIENTE = 864;
    // A row of the meshes' list.
    static constexpr int ALTO_ENTRADA = 13;

    QWidget* Panel1Marco = nullptr;
    PanelGL* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QListWidget* ListBox1 = nullptr;
    QGroupBox* RadioGroup1 = nullptr;
    QRadioButton* RadioButton1 = nullptr;
    QRadioButton* RadioButton2 = nullptr;
    ArbolObjetos* TreeView1 =
        nullptr; // "Objetos": the level, Lara, the moveables and their animations, statics
    BarraAnimacion* Animacion1 =
        nullptr; // under the panel: plays the animations of the moveable on show
};

#include "DisposicionCliente.h"

#include "ArbolObjetos.h"
#include "BarraAnimacion.h"
#include "PanelGL.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>

namespace {

constexpr int MARGEN = 8, ANCHO_PANEL = 817;
constexpr int COLUMNA_X = 840, COLUMNA_Y = 24, ANCHO_COLUMNA = 177, LISTA_Y = 48, ALTO_LISTA = 177,
              ALTO_GRUPO = 73;
constexpr int MARGEN_DERECHO = DisposicionCliente::ANCHO_CLIENTE - COLUMNA_X - ANCHO_COLUMNA;

} // namespace

void DisposicionCliente::Disponer(QMainWindow* ventana) {
    auto* cliente = new QWidget(ventana);
    cliente->setObjectName("Cliente");
    ventana->setCentralWidget(cliente);

    Panel1 = new PanelGL;
    Panel1->setObjectName("Panel1");
    Panel1->setTitle(tr("Panel1"));
    Panel1Marco = QWidget::createWindowContainer(Panel1, cliente);
    Panel1Marco->setObjectName("Panel1Marco");
    Panel1Marco->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    Panel1Marco->setMinimumSize(64, 64);

    Label1 = new QLabel(tr("Meshes"), cliente);
    Label1->setObjectName("Label1");
    ListBox1 = new QListWidget(cliente);
    ListBox1->setObjectName("ListBox1");
    ListBox1->setUniformItemSizes(true);
    ListBox1->setMinimumHeight(ALTO_ENTRADA * 4);

    RadioGroup1 = new QGroupBox(tr("Render Mode"), cliente);
    RadioGroup1->setObjectName("RadioGroup1");
    RadioButton1 = new QRadioButton(tr("Texturizado"), RadioGroup1);
    RadioButton1->setObjectName("RadioButton1");
    RadioButton1->setChecked(true);
    RadioButton2 = new QRadioButton(tr("Wireframe"), RadioGroup1);
    RadioButton2->setObjectName("RadioButton2");
    // Two captions in a box of its designed size, where they always stood; wider where the
    // font needs it.
    for (auto [boton, lugar] : {std::pair{RadioButton1, QRect(8, 24, 89, 17)},
                                std::pair{RadioButton2, QRect(8, 40, 73, 25)}})
        boton->setGeometry(
            lugar.adjusted(0, 0, std::max(0, boton->sizeHint().width() - lugar.width()), 0));

    TreeView1 = new ArbolObjetos(cliente);
    TreeView1->setObjectName("TreeView1");
    QWidget::setTabOrder(Panel1Marco, ListBox1);
    QWidget::setTabOrder(ListBox1, RadioButton1);
    QWidget::setTabOrder(RadioButton1, RadioButton2);
    QWidget::setTabOrder(RadioButton2, TreeView1);

    Animacion1 = new BarraAnimacion(cliente);
    Animacion1->setObjectName("Animacion1");

    // The panel and the bar under it take what the column at the right leaves; the tree takes
    // what the list and the render mode leave of the column's height. At the designed size every
    // control stands where it always stood.
    auto* izquierda = new QVBoxLayout;
    izquierda->setSpacing(4);
    izquierda->addWidget(Panel1Marco, 1);
    izquierda->addWidget(Animacion1);
    auto* derecha = new QVBoxLayout;
    derecha->setContentsMargins(0, COLUMNA_Y - MARGEN, 0, 0);
    derecha->setSpacing(0);
    derecha->addWidget(Label1);
    derecha->addSpacing(std::max(0, LISTA_Y - COLUMNA_Y - Label1->sizeHint().height()));
    ListBox1->setMaximumHeight(ALTO_LISTA);
    derecha->addWidget(ListBox1);
    derecha->addSpacing(15);
    RadioGroup1->setMinimumHeight(ALTO_GRUPO);
    derecha->addWidget(RadioGroup1);
    derecha->addSpacing(7);
    derecha->addWidget(TreeView1, 1);
    auto* columna = new QWidget(cliente);
    columna->setObjectName("ColumnaDerecha");
    columna->setLayout(derecha);
    // As wide as designed, or as the captions need in a wider font.
    columna->setFixedWidth(std::max({ANCHO_COLUMNA, RadioGroup1->sizeHint().width(),
                                     RadioButton1->geometry().right() + MARGEN + 1,
                                     RadioButton2->geometry().right() + MARGEN + 1}));
    auto* fila = new QHBoxLayout(cliente);
    fila->setContentsMargins(MARGEN, MARGEN, MARGEN_DERECHO, MARGEN);
    fila->setSpacing(COLUMNA_X - MARGEN - ANCHO_PANEL);
    fila->addLayout(izquierda, 1);
    fila->addWidget(columna);
}

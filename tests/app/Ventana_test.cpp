// The window's logic on Qt's offscreen platform, where no OpenGL 3.3 core context is to be had:
// the window runs without a device. The file choice and the messages are stood in for.
#include "AcercaDe.h"
#include "AnimarNivel.h"
#include "ArchivosRecientes.h"
#include "ControladorVista.h"
#include "ControlesVista.h"
#include "ArbolObjetos.h"
#include "BarraAnimacion.h"
#include "MatrizDispositivo.h"
#include "Aplicacion.h"
#include "CargarNivel.h"
#include "EscritorClasico.h"
#include "EscritorNivel.h"
#include "InicioNivel.h"
#include "PanelDetalles.h"
#include "PanelDisparadores.h"
#include "LugarInicial.h"
#include "PanelGL.h"
#include "PanelPaginas.h"
#include "PanelSonidos.h"
#include "ReproductorSonido.h"
#include "TForm1.h"
#include "VistaPagina.h"

#include <QFileInfo>
#include <QStatusBar>
#include <QWindow>
#include <QAction>
#include <QComboBox>
#include <QSlider>
#include <QToolButton>
#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QPushButton>
#include <QDropEvent>
#include <QElapsedTimer>
#include <QFile>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QAudioDevice>
#include <QMediaDevices>
#include <QStatusBar>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QRadioButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <QTimer>
#include <QTreeWidget>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <numbers>
#include <set>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include <gtest/gtest.h>

using namespace fixture;

void PrintTo(const QString& texto, std::ostream* salida) {
    *salida << '"' << texto.toStdString() << '"';
}

namespace {

NivelFixture ConMeshes(int n) {
    NivelFixture nivel;
    MeshFixture m;
    m.vertices = {{0, 0, 0}, {100, 0, 0}, {0, 100, 0}};
    m.triangulos = {{{0, 1, 2}, 0}};
    nivel.meshes.assign(size_t(n), m);
    nivel.texturasObjeto = {TexturaObjetoFixture{}};
    return nivel;
}

// Each window starts from nothing remembered.
struct SinAjustes {
    SinAjustes() { QSettings("tr4visor", "tr4visor").clear(); }
};

// Two textured meshes over two pages: mesh 1's rectangle takes page 1, its triangle page 0.
NivelFixture ConPaginas() {
    NivelFixture nivel = ConMeshes(2);
    nivel.paginas = Paginas(2, [](int pagina, int x, int y) {
        return uint32_t((x * 7 + y) & 0xFF) << 24 | uint32_t(pagina * 90) << 16 | uint32_t(x) << 8 |
               uint32_t(y);
    });
    TexturaObjetoFixture rect, tri;
    rect.tile = 1;
    rect.esquinas = {{{PIXEL(0), PIXEL(0)},
                      {PIXEL(31), PIXEL(0)},
                      {PIXEL(31), PIXEL(31)},
                      {PIXEL(0), PIXEL(31)}}};
    tri.tile = 0x8000;
    nivel.texturasObjeto = {rect, tri};
    MeshFixture& m = nivel.meshes[1];
    m.radio = 150;
    m.vertices = {{0, 0, 0}, {100, 0, 0}, {0, 100, 0}, {100, 100, 0}};
    m.rectangulos = {{{0, 1, 3, 2}, 0}};
    m.triangulos = {{{0, 1, 2}, 1}};
    return nivel;
}

class Ventana : public ::testing::Test {
  protected:
    void SetUp() override {
        ventana.ElegirArchivo = [this] { return eleccion; };
        ventana.Avisar = [this](const QString& texto) { avisos << texto; };
        ventana.show();
        QApplication::processEvents();
    }
    QString Escribir(const char* nombre, const Bytes& bytes) {
        const QString ruta = carpeta.filePath(nombre);
        EXPECT_TRUE(GuardarArchivo(ruta.toStdString(), bytes));
        return ruta;
    }
    void Elegir(const QString& ruta) {
        eleccion = ruta;
        ventana.Abrir1Click();
    }
    QStringList Entradas() const {
        QStringList e;
        for (int i = 0; i < ventana.ListBox1->count(); ++i)
            e << ventana.ListBox1->item(i)->text();
        return e;
    }

    template <class T = QAction> T* Hijo(const char* nombre) {
        T* hijo = ventana.findChild<T*>(nombre);
        EXPECT_NE(hijo, nullptr) << nombre;
        return hijo;
    }
    QString Texto(const char* etiqueta) { return Hijo<QLabel>(etiqueta)->text(); }
    void Raton(QEvent::Type tipo, QPointF donde, Qt::MouseButtons botones,
               Qt::KeyboardModifiers teclas = Qt::NoModifier) {
        const Qt::MouseButton boton = tipo == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent e(tipo, donde, donde, boton, botones, teclas);
        QApplication::sendEvent(ventana.Panel1, &e);
    }
    void Arrastrar(QPointF desde, QPointF hasta, Qt::MouseButtons botones,
                   Qt::KeyboardModifiers teclas = Qt::NoModifier) {
        Raton(QEvent::MouseButtonPress, desde, botones, teclas);
        Raton(QEvent::MouseMove, hasta, botones, teclas);
        Raton(QEvent::MouseButtonRelease, hasta, Qt::NoButton, teclas);
    }
    void Tecla(Qt::Key tecla, QEvent::Type tipo = QEvent::KeyPress,
               Qt::KeyboardModifiers teclas = Qt::NoModifier) {
        QKeyEvent e(tipo, tecla, teclas);
        QApplication::sendEvent(ventana.Panel1, &e);
    }
    // A tap of a key: pressed and let go at once.
    void Toque(Qt::Key tecla, Qt::KeyboardModifiers teclas = Qt::NoModifier) {
        Tecla(tecla, QEvent::KeyPress, teclas);
        Tecla(tecla, QEvent::KeyRelease, teclas);
    }

    QTemporaryDir carpeta;
    SinAjustes sinAjustes;
    TForm1 ventana;
    QString eleccion;
    QStringList avisos;
};

TEST_F(Ventana, AbrirListaLasMeshesLasFlechasEligenYCancelarNoCambiaNada) {
    // Told once, after the window showed, that nothing will be drawn.
    EXPECT_EQ(avisos.size(), ventana.Dispositivo() ? 0 : 1);
    avisos.clear();
    Elegir("");
    EXPECT_EQ(ventana.Nivel(), nullptr);
    EXPECT_EQ(ventana.Label1->text(), "Meshes");
    EXPECT_EQ(ventana.windowTitle(), "Visualizador de Prueba");

    Elegir(Escribir("tres.tr4", EscribirNivel(ConMeshes(3))));
    EXPECT_EQ(ventana.Label1->text(), "Meshes: 3");
    // The title names the file after the program. Without rooms there is no level view to open
    // on: nothing is on show until a mesh is picked.
    EXPECT_EQ(ventana.windowTitle(), "Visualizador de Prueba — tres.tr4");
    EXPECT_EQ(ventana.windowFilePath(), QFileInfo(carpeta.filePath("tres.tr4")).absoluteFilePath());
    EXPECT_EQ(ventana.Mostrado(), nullptr);
    EXPECT_EQ(Entradas(), QStringList({"Objeto:0", "Objeto:1", "Objeto:2"}));
    ventana.ListBox1->setCurrentRow(0);
    QKeyEvent abajo(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(ventana.ListBox1, &abajo);
    EXPECT_EQ(ventana.Seleccionado(), ventana.Nivel()->Buffer(1));

    // A cancel after an open does not open the earlier file again.
    const NivelSubido* antes = ventana.Nivel();
    Elegir("");
    EXPECT_EQ(ventana.Nivel(), antes);
    EXPECT_EQ(ventana.Seleccionado(), ventana.Nivel()->Buffer(1));
    EXPECT_TRUE(avisos.isEmpty());
}

TEST_F(Ventana, UnArchivoDanadoSeNombraConSuMotivoYNadaCambia) {
    Elegir(Escribir("bueno.tr4", EscribirNivel(ConMeshes(2))));
    ventana.ListBox1->setCurrentRow(1);
    const NivelSubido* antes = ventana.Nivel();
    Bytes danado = EscribirNivel(ConMeshes(4));
    danado.resize(danado.size() / 2);
    const QString ruta = Escribir("danado.tr4", danado);
    avisos.clear();
    Elegir(ruta);

    trNivel nivel;
    std::string motivo;
    ASSERT_EQ(CargarNivel(ruta.toStdString().c_str(), nivel, &motivo), 0);
    ASSERT_EQ(avisos.size(), 1);
    EXPECT_TRUE(avisos[0].contains(ruta) && avisos[0].contains(QString::fromStdString(motivo)))
        << avisos[0].toStdString();
    EXPECT_EQ(ventana.Nivel(), antes);
    EXPECT_EQ(ventana.Seleccionado(), antes->Buffer(1));
    EXPECT_EQ(ventana.Label1->text(), "Meshes: 2");
    EXPECT_EQ(Entradas(), QStringList({"Objeto:0", "Objeto:1"}));
    EXPECT_EQ(ventana.windowTitle(), "Visualizador de Prueba — bueno.tr4");
    // And it goes on turning.
    const float angulo = ventana.Angulo();
    ventana.FormPaint();
    EXPECT_NE(ventana.Angulo(), angulo);
    EXPECT_EQ(ventana.Seleccionado(), antes->Buffer(1));
}

TEST_F(Ventana, OtroNivelLiberaElAnteriorYQuitaLaSeleccion) {
    Elegir(Escribir("tres.tr4", EscribirNivel(ConMeshes(3))));
    ventana.ListBox1->setCurrentRow(2);
    std::weak_ptr<dxBufferTextura> anterior = ventana.Nivel()->Buffers.Compartido(2);

    // A name with the title's modified-mark placeholder in it shows as it is.
    Elegir(Escribir("dos[*].tr4", EscribirNivel(ConMeshes(2))));
    EXPECT_EQ(ventana.windowHandle()->title(), "Visualizador de Prueba — dos[*].tr4");
    EXPECT_TRUE(anterior.expired());
    EXPECT_EQ(ventana.Seleccionado(), nullptr);
    EXPECT_EQ(Entradas(), QStringList({"Objeto:0", "Objeto:1"}));
    EXPECT_EQ(ventana.Label1->text(), "Meshes: 2");

    NivelFixture sinMeshes;
    sinMeshes.datosMeshCrudos = Bytes{};
    Elegir(Escribir("vacio.tr4", EscribirNivel(sinMeshes)));
    EXPECT_EQ(ventana.Label1->text(), "Meshes: 0");
    EXPECT_EQ(ventana.ListBox1->count(), 0);
}

TEST_F(Ventana, SoltarUnTr4LoAbreYAlCrecerElPanelTomaElSitio) {
    QMimeData datos;
    datos.setUrls({QUrl::fromLocalFile(carpeta.filePath("notas.txt")),
                   QUrl::fromLocalFile(Escribir("soltado.TR4", EscribirNivel(ConMeshes(1))))});
    QDragEnterEvent entrar({400, 300}, Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&ventana, &entrar);
    QDropEvent soltar({400, 300}, Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&ventana, &soltar);
    EXPECT_EQ(ventana.Label1->text(), "Meshes: 1");

    // The controls keep their place at the panel's right; the panel takes what the window gains,
    // the object tree what it gains in height.
    const QRect panel = ventana.Panel1Marco->geometry();
    const auto enVentana = [&](const QWidget* w) {
        return QRect(w->mapTo(&ventana, QPoint(0, 0)), w->size());
    };
    const QRect lista = enVentana(ventana.ListBox1), arbol = enVentana(ventana.TreeView1);
    EXPECT_GT(lista.left(), enVentana(ventana.Panel1Marco).right());
    EXPECT_EQ(arbol.left(), lista.left());
    EXPECT_GT(arbol.top(), enVentana(ventana.RadioGroup1).bottom());
    ventana.resize(ventana.size() + QSize(200, 100));
    QApplication::processEvents();
    EXPECT_EQ(ventana.Panel1Marco->width(), panel.width() + 200);
    EXPECT_GE(ventana.Panel1Marco->height(), panel.height() + 100);
    EXPECT_EQ(enVentana(ventana.ListBox1), lista.translated(200, 0));
    EXPECT_EQ(enVentana(ventana.TreeView1), arbol.translated(200, 0).adjusted(0, 0, 0, 100));
}

// A level of the second game, dropped on the window, opens as the fourth's do, says its game and
// names its objects from that game's table.
TEST_F(Ventana, UnNivelClasicoSoltadoSeAbreConSuJuegoYSusNombres) {
    const QString ruta = Escribir("objetos.TR2", EscribirNivelClasico(2, NivelObjetos()));
    QMimeData datos;
    datos.setUrls({QUrl::fromLocalFile(ruta)});
    QDragEnterEvent entrar({400, 300}, Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&ventana, &entrar);
    EXPECT_TRUE(entrar.isAccepted()) << "a .TR2 file is taken";
    QDropEvent soltar({400, 300}, Qt::CopyAction, &datos, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(&ventana, &soltar);
    EXPECT_EQ(ventana.Label1->text(), "Meshes: 3");
    EXPECT_TRUE(Texto("EstadoNivel").startsWith("objetos.TR2, Tomb Raider 2, ")) << Texto("EstadoNivel").toStdString();
    EXPECT_EQ(ventana.TreeView1
                  ->findItems("Movible 5 · 3 meshes · Lara uzis animation",
                              Qt::MatchExactly | Qt::MatchRecursive)
                  .size(),
              1);
}

TEST_F(Ventana, ElArbolDeObjetosMuestraUnObjetoEnteroYLaListaVuelveALaMesh) {
    Elegir(Escribir("objetos.tr4", EscribirNivel(NivelObjetos())));
    // "Nivel" heads the tree: the fixture's objects stand in a room.
    ASSERT_EQ(ventana.TreeView1->topLevelItemCount(), 3);
    QTreeWidgetItem* movibles = ventana.TreeView1->topLevelItem(1);
    QTreeWidgetItem* estaticos = ventana.TreeView1->topLevelItem(2);
    EXPECT_EQ(movibles->text(0), "Movibles (6)");
    EXPECT_EQ(estaticos->text(0), "Estáticos (3)");
    ASSERT_EQ(movibles->childCount(), 6);
    EXPECT_EQ(movibles->child(0)->text(0), "Movible 5 · 3 meshes");
    EXPECT_EQ(movibles->child(3)->text(0), "Movible 9 · 1 mesh");
    EXPECT_EQ(estaticos->child(0)->text(0), "Estático 38");
    // Mesh 2 is the third of moveable 5 (and of 10), and static 38's one mesh.
    EXPECT_EQ(ventana.ListBox1->item(2)->toolTip(),
              "Movible 5, mesh 2 de 3\nMovible 10, mesh 2 de 3\nEstático 38");
    EXPECT_EQ(Entradas(), QStringList({"Objeto:0", "Objeto:1", "Objeto:2"}));

    ventana.ListBox1->setCurrentRow(1);
    ASSERT_TRUE(ventana.Mostrado());
    EXPECT_EQ(ventana.Mostrado()->Clase, Elegido::Mesh);
    EXPECT_EQ(ventana.Mostrado()->Indice, 1);

    ventana.TreeView1->setCurrentItem(movibles->child(0));
    const EnVista* mostrado = ventana.Mostrado();
    ASSERT_TRUE(mostrado);
    EXPECT_EQ(mostrado->Clase, Elegido::Movible);
    EXPECT_EQ(mostrado->Indice, 5);
    EXPECT_EQ(mostrado->Meshes.size(), 3u);
    EXPECT_GT(mostrado->Limite.Radio, 100.f);
    EXPECT_TRUE(Texto("EstadoVista").startsWith("Movible 5: 3 meshes, "))
        << Texto("EstadoVista").toStdString();
    EXPECT_EQ(ventana.Seleccionado(), nullptr) << "the list's mesh is not on show";
    EXPECT_EQ(ventana.ListBox1->currentRow(), -1);
    ventana.FormPaint(); // draws nothing without a device, and must not trip over the object

    ventana.ListBox1->setCurrentRow(2);
    EXPECT_TRUE(Texto("EstadoVista").endsWith("; la usan los objetos 5, 10, 38"))
        << Texto("EstadoVista").toStdString();
    ventana.TreeView1->setCurrentItem(movibles->child(0));

    // A heading shows nothing new; the list takes the panel back, even its earlier row.
    ventana.TreeView1->setCurrentItem(estaticos);
    EXPECT_EQ(ventana.Mostrado()->Indice, 5);
    ventana.ListBox1->setCurrentRow(1);
    EXPECT_EQ(ventana.Mostrado()->Clase, Elegido::Mesh);
    EXPECT_EQ(ventana.TreeView1->currentItem(), nullptr);

    // Another level drops the object with the level it belonged to.
    ventana.TreeView1->setCurrentItem(estaticos->child(0));
    EXPECT_EQ(ventana.Mostrado()->Clase, Elegido::Estatico);
    Elegir(Escribir("tres.tr4", EscribirNivel(ConMeshes(3))));
    EXPECT_FALSE(ventana.Mostrado());
    EXPECT_EQ(ventana.TreeView1->topLevelItem(0)->text(0), "Movibles (0)");
}

TEST_F(Ventana, ElRatonYLasTeclasDelPanelMuevenLaCamaraYElMenuVerHaceLoMismo) {
    Elegir(Escribir("paginas.tr4", EscribirNivel(ConPaginas())));
    const Navegacion& n = ventana.Camara();
    // Nothing on show: a drag moves nothing.
    Arrastrar({100, 100}, {200, 150}, Qt::LeftButton);
    EXPECT_TRUE(n.Inicial());

    ventana.ListBox1->setCurrentRow(1);
    ASSERT_TRUE(n.HayObjetivo() && n.Inicial() && n.Girando());
    EXPECT_EQ(n.Distancia(), 1500.0f);
    const D3DXVECTOR3 centro = n.Objetivo();

    // Left drag orbits about the target at the same distance.
    Arrastrar({100, 100}, {160, 130}, Qt::LeftButton);
    EXPECT_FALSE(n.Inicial());
    EXPECT_EQ(n.Objetivo().x, centro.x);
    const D3DXVECTOR3 ojo = n.Ojo();
    EXPECT_NEAR(std::hypot(ojo.x - centro.x, ojo.y - centro.y, ojo.z - centro.z), 1500.0f, 0.1f);
    EXPECT_GT(ojo.y, centro.y) << "dragging down looks from above";
    EXPECT_LT(ojo.x, centro.x) << "dragging right carries the side in front to the right";

    // The wheel zooms; a middle or Shift+left drag pans.
    QWheelEvent rueda({100, 100}, {100, 100}, {}, {0, 240}, Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(ventana.Panel1, &rueda);
    EXPECT_NEAR(n.Distancia(), 1500.0f * 0.85f * 0.85f, 0.1f);
    Arrastrar({100, 100}, {140, 100}, Qt::MiddleButton);
    const D3DXVECTOR3 desplazado = n.Objetivo();
    EXPECT_NE(desplazado.x, centro.x);
    Arrastrar({100, 100}, {100, 140}, Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_NE(n.Objetivo().y, desplazado.y);

    // F frames the limit, Space pauses and stops the frames, Home is the first view, turning.
    Tecla(Qt::Key_F);
    EXPECT_EQ(n.Objetivo().y, n.Limite().Y);
    EXPECT_NEAR(n.Distancia(),
                DistanciaAjuste(n.Limite().Radio, ventana.Panel1->Ancho(), ventana.Panel1->Alto()),
                1.0f);
    Tecla(Qt::Key_Space);
    EXPECT_FALSE(n.Girando());
    EXPECT_FALSE(ventana.Timer1->isActive());
    EXPECT_TRUE(Hijo("Pausar1")->isChecked());
    const float angulo = ventana.Angulo();
    ventana.FormPaint();
    EXPECT_EQ(ventana.Angulo(), angulo);
    Tecla(Qt::Key_Home);
    EXPECT_TRUE(n.Inicial() && n.Girando() && ventana.Timer1->isActive());
    EXPECT_FALSE(Hijo("Pausar1")->isChecked());
    EXPECT_EQ(n.Objetivo().x, centro.x);

    // The menu's actions, and a double click, do the same.
    Hijo("Pausar1")->trigger();
    EXPECT_FALSE(n.Girando());
    Hijo("Pausar1")->trigger();
    EXPECT_TRUE(n.Girando());
    Hijo("Encuadrar1")->trigger();
    EXPECT_FALSE(n.Inicial());
    Hijo("Inicio1")->trigger();
    EXPECT_TRUE(n.Inicial());
    Raton(QEvent::MouseButtonDblClick, {50, 50}, Qt::LeftButton);
    EXPECT_FALSE(n.Inicial());

    // "Ajustar al mostrar" frames each mesh as it is picked.
    Hijo("Inicio1")->trigger();
    Hijo("AjustarAlMostrar1")->setChecked(true);
    ventana.ListBox1->setCurrentRow(0);
    EXPECT_FALSE(n.Inicial());
    EXPECT_EQ(n.Objetivo().x, n.Limite().X);
}

float Hacia(const CamaraVuelo& antes, D3DXVECTOR3 ojo) {
    const D3DXVECTOR3 a = antes.Adelante(), o = antes.Ojo();
    return (ojo.x - o.x) * a.x + (ojo.y - o.y) * a.y + (ojo.z - o.z) * a.z;
}

TEST_F(Ventana, ElNivelEnteroSeVuelaSusCuartosSeEncuadranYVerEligeQueSeMuestra) {
    const QString ruta = Escribir("cuartos.tr4", EscribirNivel(NivelCuartos()));
    Elegir(ruta);
    ASSERT_EQ(ventana.TreeView1->topLevelItemCount(), 3);
    QTreeWidgetItem* nivel = ventana.TreeView1->topLevelItem(0);
    EXPECT_EQ(nivel->text(0), "Nivel");
    QTreeWidgetItem* cuartos = nivel->child(0);
    ASSERT_TRUE(cuartos);
    EXPECT_EQ(cuartos->text(0), "Cuartos (3)");
    ASSERT_EQ(cuartos->childCount(), 3);
    EXPECT_EQ(cuartos->child(2)->text(0), "Cuarto 2");

    Hijo("NivelCompleto1")->trigger();
    ASSERT_TRUE(ventana.Mostrado());
    EXPECT_EQ(ventana.Mostrado()->Clase, Elegido::Nivel);
    EXPECT_EQ(ventana.TreeView1->currentItem(), nivel);
    // Placements naming a static, a room or an object the level lacks are counted as skipped.
    EXPECT_TRUE(Texto("EstadoVista").startsWith("Nivel: 3 cuartos, "));
    EXPECT_TRUE(Texto("EstadoVista")
                    .endsWith("estáticos: 1 colocados, 1 omitidos; items: 1 colocados, 2 omitidos"))
        << Texto("EstadoVista").toStdString();
    const CamaraVuelo& c = ventana.Vuelo();
    const D3DXVECTOR3 centro = ventana.Mostrado()->Centro;
    EXPECT_GT(c.Ojo().y, centro.y) << "the whole level seen from above";
    const float lejos = std::hypot(c.Ojo().x - centro.x, c.Ojo().y - centro.y, c.Ojo().z - centro.z);

    // Keys fly where the camera looks, Shift faster; the right button looks about, the left
    // orbits what is framed.
    CamaraVuelo antes = c;
    Toque(Qt::Key_W);
    const float paso = Hacia(antes, c.Ojo());
    EXPECT_GT(paso, 0);
    antes = c;
    Toque(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_NEAR(Hacia(antes, c.Ojo()), -paso * CamaraVuelo::MULTIPLICADOR_RAPIDO, paso * 0.01f);
    antes = c;
    Toque(Qt::Key_D);
    EXPECT_NEAR(Hacia(antes, c.Ojo()), 0, paso * 0.01f);
    EXPECT_NE(c.Ojo().x, antes.Ojo().x);
    antes = c;
    const QPointF p{100, 100};
    QMouseEvent pulsar(QEvent::MouseButtonPress, p, p, Qt::RightButton, Qt::RightButton, {});
    QApplication::sendEvent(ventana.Panel1, &pulsar);
    QMouseEvent mover(QEvent::MouseMove, p + QPointF(40, 0), p + QPointF(40, 0), Qt::NoButton,
                      Qt::RightButton, {});
    QApplication::sendEvent(ventana.Panel1, &mover);
    EXPECT_NEAR(c.Guinada(), antes.Guinada() + 40 * CamaraVuelo::RADIANES_POR_PIXEL, 1e-4f);
    EXPECT_EQ(c.Ojo().x, antes.Ojo().x);
    Tecla(Qt::Key_F); // framed again, then orbited at the same distance
    Arrastrar({100, 100}, {180, 120}, Qt::LeftButton);
    EXPECT_NEAR(std::hypot(c.Ojo().x - centro.x, c.Ojo().y - centro.y, c.Ojo().z - centro.z),
                lejos, lejos * 1e-3f);
    // Space turns the level about what is framed, as an object turns, and stops it again.
    antes = c;
    Tecla(Qt::Key_Space);
    ventana.FormPaint();
    EXPECT_NE(c.Guinada(), antes.Guinada());
    EXPECT_NEAR(std::hypot(c.Ojo().x - centro.x, c.Ojo().y - centro.y, c.Ojo().z - centro.z),
                lejos, lejos * 1e-3f);
    Tecla(Qt::Key_Space);
    antes = c;
    ventana.FormPaint();
    EXPECT_EQ(c.Guinada(), antes.Guinada());
    // The wheel comes closer to it, each notch by the object view's step.
    QWheelEvent rueda(QPointF(100, 100), QPointF(100, 100), {}, {0, 120}, Qt::NoButton, {},
                      Qt::NoScrollPhase, false);
    QApplication::sendEvent(ventana.Panel1, &rueda);
    EXPECT_NEAR(std::hypot(c.Ojo().x - centro.x, c.Ojo().y - centro.y, c.Ojo().z - centro.z),
                lejos * CamaraVuelo::PASO_ZOOM, lejos * 1e-3f);

    // A room is framed closer, and named.
    ventana.TreeView1->setCurrentItem(cuartos->child(1));
    EXPECT_EQ(ventana.Mostrado()->Indice, 1);
    EXPECT_TRUE(Texto("EstadoVista").endsWith("; cuarto 1"));
    const D3DXVECTOR3 sala = ventana.Mostrado()->Centro;
    EXPECT_LT(std::hypot(c.Ojo().x - sala.x, c.Ojo().y - sala.y, c.Ojo().z - sala.z), lejos);

    // Ver's toggles, remembered; Alambre is the render mode's other face.
    Hijo("Items1")->trigger();
    Hijo("SalasTodas1")->trigger();
    EXPECT_TRUE(Texto("EstadoVista").contains("items ocultos; salas alternas"))
        << Texto("EstadoVista").toStdString();
    EXPECT_FALSE(ventana.Opciones().Items);
    EXPECT_TRUE(ventana.Opciones().Alternos && ventana.Opciones().Estaticos);
    // Salas alternas offers none, all and the level's one group (room 1's, 0), one at a time.
    QStringList salas;
    for (const QAction* a : Hijo<QMenu>("SalasAlternas1")->actions())
        salas << a->text();
    EXPECT_EQ(salas, QStringList({"Ninguna", "Todas", "", "Grupo 0"}));
    Hijo("SalasGrupo0")->trigger();
    EXPECT_FALSE(Hijo("SalasTodas1")->isChecked());
    EXPECT_FALSE(ventana.Opciones().Alternos);
    EXPECT_EQ(ventana.Opciones().GrupoAlterno, 0);
    Hijo("AguaTenida1")->trigger();
    EXPECT_TRUE(ventana.Opciones().AguaTenida);
    EXPECT_TRUE(Texto("EstadoVista").contains("salas alternas del grupo 0; agua teñida"))
        << Texto("EstadoVista").toStdString();
    Hijo("Alambre1")->trigger();
    EXPECT_TRUE(ventana.RadioButton2->isChecked());
    EXPECT_TRUE(ventana.Opciones().Alambre && !ventana.Opciones().Texturizado);
    ventana.RadioButton1->setChecked(true);
    EXPECT_FALSE(Hijo("Alambre1")->isChecked());
    ventana.FormPaint(); // draws nothing without a device, and must not trip over the level
    {
        TForm1 otra;
        otra.Avisar = [](const QString&) {};
        EXPECT_FALSE(otra.findChild<QAction*>("Items1")->isChecked());
        EXPECT_TRUE(otra.findChild<QAction*>("AguaTenida1")->isChecked());
        EXPECT_TRUE(otra.findChild<QAction*>("Estaticos1")->isChecked());
        // Group 0 is remembered, and shown as none until a level that has it opens.
        EXPECT_TRUE(otra.findChild<QAction*>("SalasNinguna1")->isChecked());
        ASSERT_TRUE(otra.AbrirArchivo(ruta));
        EXPECT_TRUE(otra.findChild<QAction*>("SalasGrupo0")->isChecked());
        EXPECT_EQ(otra.Opciones().GrupoAlterno, 0);
    }
    {
        // What an older version remembered: every alternate room.
        SinAjustes borrar;
        QSettings("tr4visor", "tr4visor").setValue("ver/alternos", true);
        TForm1 antigua;
        EXPECT_TRUE(antigua.findChild<QAction*>("SalasTodas1")->isChecked());
        EXPECT_TRUE(antigua.Opciones().Alternos);
    }

    // The list takes the panel back to a mesh; Home in the level is the whole level again.
    Hijo("NivelCompleto1")->trigger();
    Tecla(Qt::Key_W);
    ventana.ListBox1->setCurrentRow(0);
    EXPECT_EQ(ventana.Mostrado()->Clase, Elegido::Mesh);
    EXPECT_EQ(ventana.TreeView1->currentItem(), nullptr);
    EXPECT_TRUE(ventana.Camara().Inicial());
    ventana.TreeView1->setCurrentItem(cuartos->child(0));
    Tecla(Qt::Key_Home);
    EXPECT_EQ(ventana.Mostrado()->Indice, -1);
}

// Where a point of the level (its own axes) shows on the panel, under the level view's camera.
QPointF EnPanel(const TForm1& v, float x, float y, float z) {
    const int ancho = v.Panel1->width(), alto = v.Panel1->height();
    D3DXMATRIX vista, proyeccion;
    v.Vuelo().Matrices(ancho, alto, vista, proyeccion);
    float p[4] = {x, -y, z, 1}, o[4] = {}, c[4] = {};
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i)
            o[j] += p[i] * vista.m[i][j];
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i)
            c[j] += o[i] * proyeccion.m[i][j];
    return {(c[0] / c[3] + 1) / 2 * ancho, (1 - c[1] / c[3]) / 2 * alto};
}

TEST_F(Ventana, UnClicEnElNivelEligeLoQueHayDebajoYElPanelDiceQueEs) {
    Elegir(Escribir("cuartos.tr4", EscribirNivel(NivelCuartos())));
    Hijo("NivelCompleto1")->trigger();
    // No Lara here: framed round the rooms, as before.
    const QPointF item = EnPanel(ventana, 400, -256, 1024);
    Raton(QEvent::MouseButtonPress, item, Qt::LeftButton);
    Raton(QEvent::MouseButtonRelease, item, Qt::NoButton);
    const QStringList lineas = ventana.Detalles()->Lineas();
    EXPECT_TRUE(ventana.Detalles()->isVisible());
    EXPECT_EQ(lineas.value(0), "Item 0");
    for (const char* l : {"Movible: 3", "Cuarto: 1", "Posición: 512, 0, 1024", "Ángulo: 16384 (90.0°)",
                          "Índice en la lista de items: 0"})
        EXPECT_TRUE(lineas.contains(l)) << l << "\n" << lineas.join("\n").toStdString();
    EXPECT_GE(ventana.Detalles()->ParteElegida(), 0);
    // A value cut short in a narrow dock is whole in its tooltip.
    auto* filas = ventana.Detalles()->findChild<QTreeWidget*>("ListaDetalles");
    ASSERT_NE(filas, nullptr);
    EXPECT_EQ(filas->textElideMode(), Qt::ElideRight);
    for (int i = 1; i < filas->topLevelItemCount(); ++i)
        EXPECT_EQ(filas->topLevelItem(i)->toolTip(1), filas->topLevelItem(i)->text(1)) << i;

    // A room face says its room, box and the sector under the cursor.
    const QPointF pared = EnPanel(ventana, -1536, -512, 2048);
    Raton(QEvent::MouseButtonPress, pared, Qt::LeftButton);
    Raton(QEvent::MouseButtonRelease, pared, Qt::NoButton);
    EXPECT_EQ(ventana.Detalles()->Lineas().value(0), "Cuarto 0");
    EXPECT_TRUE(ventana.Detalles()->Lineas().contains("Cuarto alterno: ninguno"));

    // A drag orbits and picks nothing new; a click on nothing lets go.
    Arrastrar(pared, pared + QPointF(30, 0), Qt::LeftButton);
    EXPECT_EQ(ventana.Detalles()->Lineas().value(0), "Cuarto 0");
    Raton(QEvent::MouseButtonPress, {2, 2}, Qt::LeftButton);
    Raton(QEvent::MouseButtonRelease, {2, 2}, Qt::NoButton);
    EXPECT_EQ(ventana.Detalles()->ParteElegida(), -1);

    // A double click frames what it picks.
    Hijo("NivelCompleto1")->trigger();
    const QPointF estatico = EnPanel(ventana, -512, -256, 1024);
    QMouseEvent doble(QEvent::MouseButtonDblClick, estatico, estatico, Qt::LeftButton,
                      Qt::LeftButton, {});
    QApplication::sendEvent(ventana.Panel1, &doble);
    EXPECT_EQ(ventana.Detalles()->Lineas().value(0), "Estático 10");
    EXPECT_NEAR(ventana.Vuelo().Pivote().x, -512, 1);
    EXPECT_NEAR(ventana.Vuelo().Pivote().z, 1024, 1);

    // Ver -> Iluminación and Fondo, remembered.
    Hijo("LuzPlena1")->trigger();
    Hijo("FondoGris1")->trigger();
    EXPECT_TRUE(ventana.Opciones().LuzPlena);
    TForm1 otra;
    EXPECT_TRUE(otra.findChild<QAction*>("LuzPlena1")->isChecked());
    EXPECT_TRUE(otra.findChild<QAction*>("FondoGris1")->isChecked());
}

TEST_F(Ventana, UnClicEnUnSectorDiceSusDatosDeSueloYSuDisparador) {
    Elegir(Escribir("logica.tr4", EscribirNivel(NivelLogica())));
    Hijo("NivelCompleto1")->trigger();
    // Sector x 1, z 2 of room 0 (origin -1024, 2048): the switch trigger.
    const QPointF interruptor = EnPanel(ventana, 512, 0, 4608);
    Raton(QEvent::MouseButtonPress, interruptor, Qt::LeftButton);
    Raton(QEvent::MouseButtonRelease, interruptor, Qt::NoButton);
    QStringList lineas = ventana.Detalles()->Lineas();
    EXPECT_EQ(lineas.value(0), "Cuarto 0");
    for (const char* l : {"Sector bajo el cursor: x 1, z 2",
                          "Disparador: interruptor, tiempo 0, máscara 0: palanca 1, mapa alterno 1",
                          "Suelo en las esquinas: 0, 0, 0, 0"})
        EXPECT_TRUE(lineas.contains(l)) << l << "\n" << lineas.join("\n").toStdString();
    // Sector x 0, z 1: a slanted floor and ceiling, and no trigger.
    const QPointF inclinado = EnPanel(ventana, -512, 0, 3584);
    Raton(QEvent::MouseButtonPress, inclinado, Qt::LeftButton);
    Raton(QEvent::MouseButtonRelease, inclinado, Qt::NoButton);
    lineas = ventana.Detalles()->Lineas();
    for (const char* l : {"Sector bajo el cursor: x 0, z 1", "Suelo en las esquinas: 1024, 1280, 512, 768",
                          "Techo en las esquinas: -1280, -1024, -1536, -1280"})
        EXPECT_TRUE(lineas.contains(l)) << l << "\n" << lineas.join("\n").toStdString();
    EXPECT_FALSE(lineas.join("\n").contains("Disparador:"));
}

// In the sector's details each trigger's targets are links: an item is picked and framed, a
// camera, a sink and a flyby's first camera framed, a flip map's group shown flipped.
TEST_F(Ventana, LosObjetivosDeUnDisparadorSonEnlacesQueLosMuestran) {
    NivelFixture f = NivelLogica();
    f.cuartos[0].tresBytes = {0, 0, 1}; // the group its flip map actions name
    f.items[1].x = 2000;
    f.items[1].y = -300;
    f.items[1].z = 3000;
    Elegir(Escribir("logica.tr4", EscribirNivel(f)));
    Hijo("NivelCompleto1")->trigger();
    // A click on sector (x, z) of room 0 (origin -1024, 2048) in the whole level's view; the
    // labels of links on show.
    auto clic = [&](int x, int z) {
        Hijo("NivelCompleto1")->trigger();
        const QPointF p = EnPanel(ventana, -512 + 1024.0f * x, 0, 2560 + 1024.0f * z);
        Raton(QEvent::MouseButtonPress, p, Qt::LeftButton);
        Raton(QEvent::MouseButtonRelease, p, Qt::NoButton);
        // The rows described before go with their labels once deferred deletes run.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        return ventana.Detalles()->findChildren<QLabel*>("Enlaces");
    };
    auto seguir = [&](const QList<QLabel*>& etiquetas, const QString& enlace) {
        ASSERT_EQ(etiquetas.size(), 1);
        ASSERT_TRUE(ventana.Detalles()->Enlaces().contains(enlace))
            << ventana.Detalles()->Enlaces().join(" ").toStdString();
        emit etiquetas[0]->linkActivated(enlace);
        QApplication::processEvents();
    };
    auto pivote = [&](float x, float y, float z) {
        EXPECT_NEAR(ventana.Vuelo().Pivote().x, x, 1);
        EXPECT_NEAR(ventana.Vuelo().Pivote().y, -y, 1);
        EXPECT_NEAR(ventana.Vuelo().Pivote().z, z, 1);
    };

    // The switch (x 1, z 2): its lever, item 1, and flip map 1.
    auto enlaces = clic(1, 2);
    EXPECT_EQ(ventana.Detalles()->Enlaces(), QStringList({"item:1", "grupo:1"}));
    EXPECT_TRUE(ventana.Detalles()->Lineas().contains("Ir a: item 1, grupo alterno 1"))
        << ventana.Detalles()->Lineas().join("\n").toStdString();
    seguir(enlaces, "item:1");
    pivote(2000, -300, 3000);
    EXPECT_EQ(ventana.Detalles()->Lineas().value(0), "Item 1");
    seguir(clic(1, 2), "grupo:1");
    EXPECT_EQ(ventana.Opciones().GrupoAlterno, 1);
    EXPECT_TRUE(Hijo("SalasGrupo1")->isChecked());
    Hijo("SalasNinguna1")->trigger();
    // x 1, z 0: object 0 and camera 0; x 1, z 1: the current's sink, camera 1; x 3, z 2: flyby 2,
    // whose first camera in flight order is the level's flyby camera 1.
    seguir(clic(1, 0), "camara:0");
    pivote(100, -200, 3000);
    seguir(clic(1, 1), "camara:1");
    pivote(-500, 0, 2500);
    seguir(clic(3, 2), "vuelo:2");
    pivote(10, 0, 0);
    // A group without rooms is said so, and nothing changes.
    ventana.SeguirDestino({PanelDetalles::Destino::Tipo::Grupo, 7});
    EXPECT_EQ(ventana.Opciones().GrupoAlterno, -1);
    EXPECT_FALSE(PanelDetalles::DestinoDeEnlace("cuarto:2"));
    EXPECT_FALSE(PanelDetalles::DestinoDeEnlace("item:-1"));
}

TEST_F(Ventana, LaListaDeDisparadoresFiltraYVuelaASuSector) {
    Elegir(Escribir("logica.tr4", EscribirNivel(NivelLogica())));
    PanelDisparadores& p = *ventana.Disparadores();
    EXPECT_NE(ventana.findChild<QAction*>("PanelDisparadores1"), nullptr);
    auto filas = [&] { return p.Lista()->topLevelItemCount(); };
    EXPECT_EQ(filas(), 13);
    p.Filtrar(int(trTipoDisparador::Interruptor), -1);
    ASSERT_EQ(filas(), 1);
    EXPECT_EQ(p.Lista()->topLevelItem(0)->text(1), "x 1, z 2");
    EXPECT_EQ(p.Lista()->topLevelItem(0)->text(3), "palanca 1, mapa alterno 1");
    p.Filtrar(-1, PanelDisparadores::FILTRO_MAPAS); // the switch's flip map, the key's on and off
    ASSERT_EQ(filas(), 2);
    EXPECT_EQ(p.IndiceDeFila(0), 2);
    EXPECT_EQ(p.IndiceDeFila(1), 3);
    p.Filtrar(int(trTipoDisparador::Llave), int(trTipoAccion::Vuelo));
    EXPECT_EQ(filas(), 0);
    p.Filtrar(-1, int(trTipoAccion::Vuelo));
    ASSERT_EQ(filas(), 1);
    EXPECT_EQ(p.IndiceDeFila(0), 10);

    // Choosing one shows the level and flies to its sector: x 1, z 2 of room 0 (origin -1024,
    // 2048), its floor at 0.
    p.Filtrar(-1, -1);
    p.Lista()->setCurrentItem(p.Lista()->topLevelItem(2));
    EXPECT_NEAR(ventana.Vuelo().Pivote().x, 512, 1);
    EXPECT_NEAR(ventana.Vuelo().Pivote().y, 0, 1);
    EXPECT_NEAR(ventana.Vuelo().Pivote().z, 4608, 1);
    // Another level lists its own.
    Elegir(Escribir("cuartos.tr4", EscribirNivel(NivelCuartos())));
    EXPECT_EQ(filas(), 0);
}

TEST_F(Ventana, TitleAAbreDetrasDeLaraYUnClicEnEllaLaNombra) {
    const QString real = QString(TR4_NIVELES_REALES) + "/title-a.tr4";
    if (!QFile::exists(real))
        GTEST_SKIP() << "no real level title-a.tr4";
    Elegir(real);
    const NivelSubido& n = *ventana.Nivel();
    const auto inicio = InicioEnLara(n.Objetos, n.Nivel->Cuartos.size(), n.Escena.get());
    ASSERT_TRUE(inicio);
    // Opened, the level is on show at once, from her start, with the tree on "Nivel".
    ASSERT_TRUE(ventana.Mostrado());
    EXPECT_EQ(ventana.Mostrado()->Clase, Elegido::Nivel);
    EXPECT_EQ(ventana.TreeView1->currentItem(), ventana.TreeView1->topLevelItem(0));
    EXPECT_EQ(ventana.ListBox1->currentRow(), -1);
    EXPECT_EQ(ventana.Vuelo().Ojo().x, inicio->Ojo.x);
    EXPECT_EQ(ventana.Vuelo().Ojo().z, inicio->Ojo.z);
    Hijo("NivelCompleto1")->trigger();
    EXPECT_EQ(ventana.Vuelo().Ojo().x, inicio->Ojo.x);
    EXPECT_EQ(ventana.Vuelo().Ojo().z, inicio->Ojo.z);
    EXPECT_EQ(ventana.Vuelo().Guinada(), std::remainder(inicio->Guinada, 6.28318531f));
    // A click on one of her faces that shows.
    const EscenaNivel& e = *n.Escena;
    const ParteElegible& ella = e.Geometria().Partes.at(size_t(e.ParteDe({DuenioCara::Tipo::Item, inicio->Item})));
    QPointF donde;
    for (uint32_t t = ella.Primero; t < ella.Primero + ella.Cuantos && donde.isNull(); ++t) {
        const auto& p = e.Geometria().Triangulos[t].P;
        const QPointF q = EnPanel(ventana, (p[0][0] + p[1][0] + p[2][0]) / 3,
                                  -(p[0][1] + p[1][1] + p[2][1]) / 3,
                                  (p[0][2] + p[1][2] + p[2][2]) / 3);
        D3DXMATRIX vista, proyeccion;
        ventana.Vuelo().Matrices(ventana.Panel1->width(), ventana.Panel1->height(), vista,
                                 proyeccion);
        const auto a = e.Elegir(RayoPorPixel(MatrizGLM(vista), MatrizGLM(proyeccion), float(q.x()), float(q.y()),
                                             ventana.Panel1->width(), ventana.Panel1->height()),
                                ventana.Opciones());
        if (a && e.Geometria().Partes[a->Parte].Duenio.Clase == DuenioCara::Tipo::Item)
            donde = q;
    }
    ASSERT_FALSE(donde.isNull()) << "Lara shows in the opening view";
    Raton(QEvent::MouseButtonPress, donde, Qt::LeftButton);
    Raton(QEvent::MouseButtonRelease, donde, Qt::NoButton);
    const QStringList lineas = ventana.Detalles()->Lineas();
    EXPECT_EQ(lineas.value(0), QString("Item %1").arg(inicio->Item));
    EXPECT_TRUE(lineas.contains("Movible: 0 (Lara, con las meshes del movible 8)"))
        << lineas.join("\n").toStdString();
    // Home comes back to her after flying off.
    Toque(Qt::Key_W);
    Tecla(Qt::Key_Home);
    EXPECT_EQ(ventana.Vuelo().Ojo().x, inicio->Ojo.x);
}

TEST_F(Ventana, MinimizadaUOcultaNoDibujaCuadros) {
    EXPECT_TRUE(ventana.Timer1->isActive());
    ventana.showMinimized();
    QApplication::processEvents();
    EXPECT_FALSE(ventana.Timer1->isActive());
    ventana.showNormal();
    QApplication::processEvents();
    EXPECT_TRUE(ventana.Timer1->isActive());
    ventana.hide();
    EXPECT_FALSE(ventana.Timer1->isActive());
    ventana.show();
    EXPECT_TRUE(ventana.Timer1->isActive());
}

TEST_F(Ventana, ExportarGuardaLoQueSeMuestraSinTocarLoAbierto) {
    EXPECT_FALSE(ventana.Exportar1->isEnabled());
    Elegir(Escribir("objetos.tr4", EscribirNivel(NivelObjetos())));
    ASSERT_TRUE(ventana.Mostrado());
    EXPECT_EQ(ventana.Mostrado()->Clase, Elegido::Nivel) << "the level opens on show";
    EXPECT_TRUE(ventana.Exportar1->isEnabled());
    ventana.TreeView1->setCurrentItem(ventana.TreeView1->topLevelItem(1)->child(0));
    ASSERT_TRUE(ventana.Exportar1->isEnabled());
    avisos.clear(); // the offscreen platform's word that it cannot draw
    QStringList sugeridos;
    QString destino = carpeta.filePath("lara.gltf");
    ventana.ElegirDestino = [&](const QString& sugerido) { return sugeridos << sugerido, destino; };
    const NivelSubido* abierto = ventana.Nivel();
    ventana.activateWindow();
    QTest::keyClick(ventana.ListBox1, Qt::Key_E, Qt::ControlModifier);
    EXPECT_EQ(sugeridos, QStringList{"movible_5.glb"});
    QFile escrito(destino);
    ASSERT_TRUE(escrito.open(QIODevice::ReadOnly));
    EXPECT_TRUE(escrito.readAll().contains("\"movible_5\""));
    EXPECT_EQ(ventana.Nivel(), abierto);
    EXPECT_EQ(ventana.Mostrado()->Indice, 5);
    EXPECT_TRUE(avisos.isEmpty()) << avisos.join("\n").toStdString();
    // The status bar says what was written and where, and how many files when the model has
    // others beside it.
    const QString dicho = ventana.statusBar()->currentMessage(),
                  donde = QDir::toNativeSeparators(carpeta.path());
    const qsizetype escritos =
        QDir(carpeta.path()).entryList({"lara.*", "pagina_*.png"}, QDir::Files).size();
    EXPECT_EQ(dicho, escritos > 1 ? QString("Exportado lara.gltf en %1 (%2 archivos en total)")
                                        .arg(donde)
                                        .arg(escritos)
                                  : "Exportado lara.gltf en " + donde);
    // A place nobody may write: the reason, and what was written before stays.
    destino = "/proc/lara.glb";
    ventana.Exportar1->trigger();
    ASSERT_EQ(avisos.size(), 1);
    EXPECT_TRUE(avisos[0].startsWith("No se pudo exportar a \"/proc/lara.glb\":\n"))
        << avisos[0].toStdString();
    EXPECT_EQ(ventana.statusBar()->currentMessage(), "") << "the earlier export's word stays";
    EXPECT_EQ(ventana.Mostrado()->Indice, 5);
    // The level view exports the level.
    ventana.TreeView1->setCurrentItem(ventana.TreeView1->topLevelItem(0));
    destino = carpeta.filePath("nivel.glb");
    ventana.Exportar1->trigger();
    EXPECT_EQ(sugeridos.last(), "nivel.glb");
    QFile nivel(destino);
    ASSERT_TRUE(nivel.open(QIODevice::ReadOnly));
    EXPECT_TRUE(nivel.readAll().contains("\"estatico_38\"")) << "its two placed statics";
    EXPECT_EQ(ventana.statusBar()->currentMessage(),
              "Exportado nivel.glb en " + QDir::toNativeSeparators(carpeta.path()));
}

TEST_F(Ventana, MenusAtajosYAcercaDe) {
    QStringList menus;
    for (QAction* a : ventana.menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, QStringList({"Archivo", "Ver", "Ayuda"}));
    // With nothing recent, Archivo is Abrir, a line and Salir.
    QStringList archivo;
    for (QAction* a : ventana.Archivo1->actions())
        if (a->isVisible())
            archivo << (a->isSeparator() ? "-" : a->text());
    EXPECT_EQ(archivo, QStringList({"Abrir", "Exportar...", "-", "Salir"}));
    EXPECT_EQ(ventana.Abrir1->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(ventana.Exportar1->shortcut(), QKeySequence("Ctrl+E"));
    EXPECT_EQ(ventana.Salir1->shortcut(), QKeySequence("Ctrl+Q"));

    // Ctrl+O from the keyboard asks for a file.
    int pedidos = 0;
    ventana.ElegirArchivo = [&] { return ++pedidos, QString(); };
    ventana.activateWindow();
    QTest::keyClick(ventana.ListBox1, Qt::Key_O, Qt::ControlModifier);
    EXPECT_EQ(pedidos, 1);

    ventana.Acerca2->trigger();
    auto* acerca = ventana.findChild<AcercaDe*>("AcercaDe");
    ASSERT_NE(acerca, nullptr);
    EXPECT_TRUE(acerca->isVisible());
    for (const QString& parte :
         {QString("tr4visor " TR4_VERSION), QString("Tomb Raider 4"), QString(".tr4"),
          QString("nivel entero"), QString("glTF"), QString("tr4tool"), QString("MIT"),
          QString(qVersion())})
        EXPECT_TRUE(acerca->Texto().contains(parte)) << parte.toStdString();
    // Qt's own buttons speak the window's language too.
    EXPECT_EQ(acerca->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->text(),
              "Aceptar");
    acerca->accept();
}

TEST_F(Ventana, LosUltimosOchoArchivosQuedanEnArchivoYUnoQueYaNoEstaSeQuita) {
    QStringList rutas;
    for (int i = 0; i < 10; ++i)
        rutas << Escribir(qPrintable(QString("n%1 & co.tr4").arg(i)), EscribirNivel(ConMeshes(1)));
    for (const QString& r : rutas)
        Elegir(r);
    Elegir(rutas[5]); // again: first, once
    QStringList esperadas = {rutas[5], rutas[9], rutas[8], rutas[7],
                             rutas[6], rutas[4], rutas[3], rutas[2]};
    EXPECT_EQ(ventana.Recientes(), esperadas);
    EXPECT_EQ(Hijo("Reciente0")->text(), "&1 n5 && co.tr4");
    EXPECT_TRUE(Hijo("Reciente7")->isVisible());
    EXPECT_TRUE(Hijo("SeparadorRecientes")->isVisible());

    // Picking one opens it; one removed from the disk is named once and not offered again.
    Hijo("Reciente3")->trigger();
    EXPECT_EQ(ventana.Recientes().first(), rutas[7]);
    QFile::remove(rutas[9]);
    avisos.clear();
    const NivelSubido* antes = ventana.Nivel();
    ventana
        .findChild<QAction*>(
            qPrintable(QString("Reciente%1").arg(ventana.Recientes().indexOf(rutas[9]))))
        ->trigger();
    EXPECT_EQ(avisos.size(), 1);
    EXPECT_EQ(ventana.Nivel(), antes);
    EXPECT_FALSE(ventana.Recientes().contains(rutas[9]));
    EXPECT_FALSE(Hijo("Reciente7")->isVisible());
}

// Ver -> Animar runs the items on a clock of fractions of a second: half a second after it is
// switched on, an item whose root goes 10 units a game frame has gone the frames of the time
// measured round it (some 15), not those of a whole number of seconds.
TEST(AnimarNivel, ElRelojVaEnFraccionesDeSegundo) {
    SinAjustes sinAjustes;
    NivelFixture f = NivelCuartos();
    // Two keyframes 255 frames apart, the root 2550 along x at the second.
    for (int x : {0, 2550})
        for (int v : {-10, 10, -10, 10, -10, 10, x, 0, 0, 0x8000})
            f.cuadros.push_back(uint16_t(v));
    AnimacionFixture a;
    a.tamano = 10;
    a.tasa = 255;
    a.ultimo = 254;
    f.animaciones = {a};
    f.movibles[0].animacion = 0;
    const Bytes bytes = EscribirNivel(f);
    std::unique_ptr<NivelSubido> nivel;
    Hecho hecho;
    ASSERT_TRUE((hecho = AbrirNivelDeMemoria(bytes.data(), bytes.size(), nullptr, nivel)))
        << hecho.Motivo();
    const EscenaNivel& escena = *nivel->Escena;
    ASSERT_EQ(escena.ItemsAnimados(), 1);
    const std::vector<VerticeEscena> quietos = escena.VerticesItems();

    QMenu ver;
    AnimarNivel animar(&ver, nullptr);
    QElapsedTimer fuera;
    fuera.start();
    animar.SetActivo(true);
    animar.Aplicar(*nivel); // the clock starts at the first frame
    ASSERT_TRUE(escena.Animada());
    QElapsedTimer dentro;
    dentro.start();
    QThread::msleep(500);
    const double desde = double(dentro.elapsed()) / 1000;
    animar.Aplicar(*nivel);
    const double hasta = double(fuera.elapsed()) / 1000;
    float lejos = 0;
    for (size_t i = 0; i < quietos.size(); ++i) {
        const VerticeEscena &p = quietos[i], &q = escena.VerticesItems()[i];
        lejos = std::max(lejos, std::hypot(q.X - p.X, q.Y - p.Y, q.Z - p.Z));
    }
    EXPECT_GE(lejos / 10, 30 * desde - 0.1) << "seconds on: " << desde << " to " << hasta;
    EXPECT_LE(lejos / 10, 30 * hasta + 0.1) << "seconds on: " << desde << " to " << hasta;
}

TEST_F(Ventana, LoRecordadoVuelveEnLaVentanaSiguiente) {
    const QString ruta = Escribir("recordado.tr4", EscribirNivel(ConMeshes(1)));
    Elegir(ruta);
    ventana.resize(900, 700);
    Hijo("AjustarAlMostrar1")->setChecked(true);
    Hijo("Animar1")->setChecked(true);
    Hijo("Paginas1")->trigger();
    ASSERT_TRUE(ventana.findChild<PanelPaginas*>("PanelPaginas")->isVisible());
    Hijo("Sonido1")->setChecked(false);
    Hijo("Sonidos1")->trigger();
    ventana.close();

    TForm1 otra;
    otra.Avisar = [](const QString&) {};
    otra.show();
    QApplication::processEvents();
    EXPECT_EQ(otra.size(), QSize(900, 700));
    EXPECT_TRUE(otra.findChild<QAction*>("AjustarAlMostrar1")->isChecked());
    EXPECT_TRUE(otra.findChild<QAction*>("Animar1")->isChecked());
    EXPECT_TRUE(otra.findChild<PanelPaginas*>("PanelPaginas")->isVisible());
    EXPECT_FALSE(otra.findChild<QAction*>("Sonido1")->isChecked());
    EXPECT_EQ(otra.findChild<BarraAnimacion*>()->Sonidos, nullptr);
    EXPECT_TRUE(otra.findChild<PanelSonidos*>("PanelSonidos")->isVisible());
    EXPECT_EQ(otra.Recientes(), QStringList({ruta}));
    EXPECT_EQ(QSettings("tr4visor", "tr4visor").value("archivos/carpeta").toString(),
              QFileInfo(ruta).absolutePath());
    // Defaults: the first view, turning, no framing on pick, nothing animated, no dock.
    SinAjustes borrar;
    TForm1 nueva;
    EXPECT_FALSE(nueva.findChild<QAction*>("AjustarAlMostrar1")->isChecked());
    EXPECT_FALSE(nueva.findChild<QAction*>("Animar1")->isChecked());
    EXPECT_TRUE(nueva.Camara().Inicial() && nueva.Camara().Girando());
    EXPECT_TRUE(nueva.findChild<PanelPaginas*>("PanelPaginas")->isHidden());
    // Sound on, its dock closed.
    EXPECT_TRUE(nueva.findChild<QAction*>("Sonido1")->isChecked());
    EXPECT_NE(nueva.findChild<BarraAnimacion*>()->Sonidos, nullptr);
    EXPECT_TRUE(nueva.findChild<PanelSonidos*>("PanelSonidos")->isHidden());
}

TEST_F(Ventana, LosSonidosSeListanSeTocanYLaAnimacionTocaLosSuyos) {
    NivelFixture f = NivelSonoro();
    f.muestras[2].wave[0] = 'X'; // unreadable: listed with its reason
    Elegir(Escribir("sonoro.tr4", EscribirNivel(f)));
    Hijo("Sonidos1")->trigger();
    auto* dock = ventana.findChild<PanelSonidos*>("PanelSonidos");
    ASSERT_TRUE(dock && dock->isVisible());
    QStringList entradas;
    for (int i = 0; i < dock->Lista()->count(); ++i)
        entradas << dock->Lista()->item(i)->text();
    EXPECT_EQ(entradas, QStringList({"Sonido 0 · muestras 0", "Sonido 3 · sin muestras",
                                     "Sonido 5 · sin muestras", "Sonido 7 · muestras 1, 2",
                                     "Muestra 2 · no se puede oír"}));
    EXPECT_TRUE(dock->Lista()->item(4)->toolTip().contains("RIFF"));

    auto* reproductor = ventana.findChild<ReproductorSonido*>();
    ASSERT_TRUE(reproductor);
    auto* lista = dock->Lista();
    QTest::mouseClick(lista->viewport(), Qt::LeftButton, {},
                      lista->visualItemRect(lista->item(0)).center());
    EXPECT_EQ(reproductor->Pedidas(), std::vector<int64_t>{0});
    // Enter plays the entry the arrows reach; a sound without samples plays none.
    lista->setCurrentRow(1);
    QTest::keyClick(lista, Qt::Key_Return);
    EXPECT_EQ(reproductor->Pedidas(), (std::vector<int64_t>{0, -1}));
    // Without an audio output (this machine's case) it is said once, in the status bar.
    if (QMediaDevices::defaultAudioOutput().isNull()) {
        EXPECT_TRUE(ventana.statusBar()->currentMessage().contains("No hay salida de sonido"))
            << ventana.statusBar()->currentMessage().toStdString();
        ventana.statusBar()->clearMessage();
        QTest::mouseClick(lista->viewport(), Qt::LeftButton, {},
                          lista->visualItemRect(lista->item(0)).center());
        EXPECT_EQ(ventana.statusBar()->currentMessage(), "");
    }

    // Animation 0 of moveable 3 plays sound 7 at its frame 2: one of samples 1 and 2.
    QTreeWidgetItem* movibles = ventana.TreeView1->topLevelItem(0);
    ASSERT_EQ(movibles->text(0), "Movibles (2)");
    ventana.TreeView1->setCurrentItem(movibles->child(0));
    auto* barra = ventana.findChild<BarraAnimacion*>();
    ASSERT_TRUE(barra->Elegir(0));
    const size_t antes = reproductor->Pedidas().size();
    std::vector<glm::mat4> pose;
    for (int i = 0; i < 300 && reproductor->Pedidas().size() == antes; ++i) {
        QTest::qWait(5);
        barra->Posar(pose);
    }
    ASSERT_EQ(reproductor->Pedidas().size(), antes + 1);
    EXPECT_TRUE(reproductor->Pedidas().back() == 1 || reproductor->Pedidas().back() == 2);
    // Ver -> Sonido off: the animation plays on in silence.
    Hijo("Sonido1")->setChecked(false);
    for (int i = 0; i < 40; ++i) {
        QTest::qWait(5);
        barra->Posar(pose);
    }
    EXPECT_EQ(reproductor->Pedidas().size(), antes + 1);
    // Another level: the old sounds are gone with it.
    Elegir(Escribir("tres.tr4", EscribirNivel(ConMeshes(3))));
    EXPECT_EQ(dock->Lista()->count(), 0);
    EXPECT_TRUE(reproductor->Pedidas().empty());
}

// A status line longer than the window is cut short: the window keeps its width, and what it
// remembers for the next run does not grow.
TEST_F(Ventana, UnaLineaDeEstadoLargaNoEnsanchaLaVentana) {
    const QString ruta = Escribir(qPrintable(QString(200, 'n') + ".tr4"), EscribirNivel(ConMeshes(1)));
    Elegir(ruta);
    const int ancho = ventana.width();
    ventana.findChild<QLabel*>("EstadoVista")->setText(QString(3000, 'x'));
    QApplication::processEvents();
    EXPECT_EQ(ventana.width(), ancho);
    EXPECT_LE(ventana.minimumSizeHint().width(), ancho);
    // What is painted ends in the ellipsis, not in a glyph cut by the edge: of a line of full
    // blocks (ink top to bottom in every column), the last third of an ellipsis' width of ink
    // is a dot, low and short.
    auto* vista = ventana.findChild<QLabel*>("EstadoVista");
    vista->setText(QString(3000, QChar(0x2588)));
    QApplication::processEvents();
    const QImage pintado = vista->grab().toImage();
    const QRgb fondo = pintado.pixel(0, 0);
    int derecha = -1;
    for (int x = 0; x < pintado.width(); ++x)
        for (int y = 0; y < pintado.height(); ++y)
            if (pintado.pixel(x, y) != fondo)
                derecha = x;
    ASSERT_GT(derecha, 0) << "nothing painted";
    const int punto = (vista->fontMetrics().horizontalAdvance(QChar(0x2026)) + 2) / 3;
    int filas = 0;
    for (int y = 0; y < pintado.height(); ++y) {
        bool tinta = false;
        for (int x = std::max(0, derecha - punto + 1); x <= derecha; ++x)
            tinta = tinta || pintado.pixel(x, y) != fondo;
        filas += tinta;
    }
    EXPECT_GT(filas, 0);
    EXPECT_LE(filas, vista->fontMetrics().capHeight() / 2) << "the line's end is not a dot";
    ventana.close();
    TForm1 otra;
    otra.Avisar = [](const QString&) {};
    otra.show();
    QApplication::processEvents();
    EXPECT_EQ(otra.width(), ancho);
}

// The pages dock asks for one page's width; opened, it widens the window by that much where the
// screen has room, so the 3D panel keeps its size, and closed it gives the width back.
TEST_F(Ventana, LasPaginasNoEstrechanElPanel3D) {
    ventana.move(0, 0);
    ventana.resize(480, 420);
    QApplication::processEvents();
    const int panel = ventana.Panel1Marco->width(), ancho = ventana.width();
    Hijo("Paginas1")->trigger();
    QApplication::processEvents();
    auto* dock = ventana.findChild<PanelPaginas*>("PanelPaginas");
    ASSERT_TRUE(dock->isVisible());
    EXPECT_LT(dock->width(), 330);
    EXPECT_EQ(ventana.Panel1Marco->width(), panel);
    Hijo("Paginas1")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(ventana.width(), ancho);
}

// The window at the sizes people use: the 3D panel has the most room, and every control of the
// animation bar at least its natural size (the timeline usable, the choices showing their text),
// on one row or on two.
TEST_F(Ventana, ElPanelTieneMasSitioYLaBarraDeAnimacionCabeEntera) {
    Elegir(Escribir("objetos.tr4", EscribirNivel(NivelObjetos())));
    ventana.TreeView1->setCurrentItem(ventana.TreeView1->topLevelItem(1)->child(0));
    ASSERT_GT(Hijo<QComboBox>("MeshesDe")->count(), 0);
    const auto area = [](const QWidget* w) { return w->width() * w->height(); };
    std::set<bool> filas;
    for (const QSize tamano : {QSize(800, 600), QSize(1280, 800), QSize(1920, 1080)}) {
        SCOPED_TRACE(testing::Message() << tamano.width() << "x" << tamano.height());
        ventana.resize(tamano);
        QApplication::processEvents();
        ASSERT_EQ(ventana.size(), tamano);
        const int panel = area(ventana.Panel1Marco);
        for (const QWidget* w : std::initializer_list<const QWidget*>{
                 ventana.ListBox1, ventana.TreeView1, ventana.RadioGroup1, ventana.Animacion1,
                 ventana.Label1, ventana.statusBar(), ventana.menuBar()})
            EXPECT_GT(panel, area(w)) << w->objectName().toStdString();
        EXPECT_GT(panel, area(ventana.centralWidget()) / 2);
        BarraAnimacion* barra = ventana.Animacion1;
        filas.insert(barra->DosFilas());
        EXPECT_GE(barra->y(), ventana.Panel1Marco->geometry().bottom());
        EXPECT_EQ(barra->width(), ventana.Panel1Marco->width());
        for (const QWidget* w : barra->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (!w->isVisibleTo(barra))
                continue;
            EXPECT_GE(w->width(), w->sizeHint().width()) << w->objectName().toStdString();
            EXPECT_GE(w->height(), w->minimumSizeHint().height()) << w->objectName().toStdString();
            EXPECT_TRUE(barra->rect().contains(w->geometry())) << w->objectName().toStdString();
        }
        // The combos as wide as their longest entry.
        for (const char* nombre : {"Velocidad", "Forma", "MeshesDe"}) {
            const auto* c = Hijo<QComboBox>(nombre);
            for (int i = 0; i < c->count(); ++i)
                EXPECT_GT(c->width(), c->fontMetrics().horizontalAdvance(c->itemText(i)))
                    << nombre << " " << c->itemText(i).toStdString();
        }
    }
    EXPECT_EQ(filas, (std::set<bool>{false, true})) << "one row where it fits, two where not";

    // At the designed size the controls stand where they always stood, where the whole-program
    // test clicks them: the list's first row, both render modes, the tree low down.
    ventana.resize(ventana.size() + QSize(1059, 864) - ventana.centralWidget()->size());
    QApplication::processEvents();
    ASSERT_EQ(ventana.centralWidget()->size(), QSize(1059, 864));
    const auto en = [&](const QWidget* w, QPoint p) {
        return QRect(w->mapTo(ventana.centralWidget(), QPoint(0, 0)), w->size()).contains(p);
    };
    EXPECT_TRUE(en(ventana.ListBox1, {870, 48 + 6}));
    EXPECT_EQ(ventana.ListBox1->mapTo(ventana.centralWidget(), QPoint(0, 0)), QPoint(840, 48));
    EXPECT_TRUE(en(ventana.RadioButton1, {848 + 8, 264 + 8}));
    EXPECT_TRUE(en(ventana.RadioButton2, {848 + 8, 280 + 12}));
    EXPECT_TRUE(en(ventana.TreeView1, {840 + 80, 320 + 440}));
    EXPECT_EQ(ventana.Panel1Marco->geometry().topLeft(), QPoint(8, 8));
    EXPECT_EQ(ventana.Panel1Marco->width(), 817);
}

// Every dock opened from Ver makes its own room: the window widens where the screen allows, the
// 3D panel keeps its width, a second dock shares the column, and the last closed gives it back.
TEST_F(Ventana, LosPanelesDeVerEnsanchanLaVentanaYDevuelvenElAncho) {
    ventana.move(0, 0);
    ventana.resize(ventana.minimumSizeHint().width(), 420);
    QApplication::processEvents();
    const int panel = ventana.Panel1Marco->width(), ancho = ventana.width();
    Hijo("Detalles1")->trigger();
    QApplication::processEvents();
    ASSERT_TRUE(ventana.Detalles()->isVisible());
    EXPECT_GT(ventana.width(), ancho);
    EXPECT_GE(ventana.Panel1Marco->width(), panel);
    const int conUno = ventana.width();
    Hijo("Sonidos1")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(ventana.width(), conUno) << "the column is there already";
    // Side by side as tabs, each the column's whole height, not two thin strips.
    auto* sonidos = ventana.findChild<PanelSonidos*>("PanelSonidos");
    EXPECT_TRUE(ventana.tabifiedDockWidgets(sonidos).contains(ventana.Detalles()));
    EXPECT_TRUE(sonidos->isVisible());
    EXPECT_GT(sonidos->height(), ventana.centralWidget()->height() / 2);
    Hijo("Detalles1")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(ventana.width(), conUno) << "another dock still shows";
    Hijo("Sonidos1")->trigger();
    QApplication::processEvents();
    EXPECT_EQ(ventana.width(), ancho);
    EXPECT_EQ(ventana.Panel1Marco->width(), panel);
}

// The turn goes by the clock: a second turns the object, and the level view about its pivot,
// by the same angle at 30 and at 300 frames a second.
TEST_F(Ventana, ElGiroEsElMismoA30YA300CuadrosPorSegundo) {
    Elegir(Escribir("cuartos.tr4", EscribirNivel(NivelCuartos())));
    auto* controles = ventana.findChild<ControlesVista*>();
    ASSERT_NE(controles, nullptr);
    ventana.ListBox1->setCurrentRow(0);
    ASSERT_TRUE(ventana.Camara().Girando());
    const auto vuelta = [](float desde, float hasta) {
        const double d = std::fmod(double(hasta) - desde + 4 * std::numbers::pi, 2 * std::numbers::pi);
        return d;
    };
    Hijo("NivelCompleto1")->trigger();
    Tecla(Qt::Key_Space);
    for (int porSegundo : {30, 300}) {
        SCOPED_TRACE(porSegundo);
        const float guinada = controles->Vuelo().Guinada();
        for (int i = 0; i < porSegundo; ++i)
            controles->Avanzar(1.0 / porSegundo);
        EXPECT_NEAR(vuelta(guinada, controles->Vuelo().Guinada()), GIRO_POR_SEGUNDO, 1e-3);
    }
    Tecla(Qt::Key_Space);
    ventana.ListBox1->setCurrentRow(0);
    for (int porSegundo : {30, 300}) {
        SCOPED_TRACE(porSegundo);
        const float angulo = controles->Camara().Angulo();
        for (int i = 0; i < porSegundo; ++i)
            controles->Avanzar(1.0 / porSegundo);
        EXPECT_NEAR(vuelta(angulo, controles->Camara().Angulo()), GIRO_POR_SEGUNDO, 1e-3);
    }
}

// What is on show decides the name an export offers and what it writes; a moveable is exported
// in the meshes it wears, with its animations; the level whole, whichever room is framed.
TEST(ControladorVista, LoQueSeMuestraDecideLaExportacion) {
    ControladorVista c;
    EXPECT_FALSE(c.Exportar().has_value()) << "nothing on show";
    struct Caso {
        Elegido clase;
        int32_t indice;
        int64_t prestadas;
        const char* nombre;
        Elegido que;
        int64_t meshesDe;
        bool todas;
    };
    using T = Elegido;
    using G = Elegido;
    for (const Caso& k : {Caso{T::Mesh, 7, -1, "mesh_7.glb", G::Mesh, -1, false},
                          Caso{T::Movible, 5, -1, "movible_5.glb", G::Movible, -1, true},
                          Caso{T::Movible, 5, 9, "movible_5.glb", G::Movible, 9, true},
                          // Lara in her body's meshes, as the page names her too
                          Caso{T::Movible, 0, 9, "lara.glb", G::Movible, 9, true},
                          Caso{T::Movible, 0, -1, "movible_0.glb", G::Movible, -1, true},
                          Caso{T::Estatico, 38, -1, "estatico_38.glb", G::Estatico, -1, false},
                          Caso{T::Nivel, 3, -1, "nivel.glb", G::Nivel, -1, false},
                          Caso{T::Nivel, -1, -1, "nivel.glb", G::Nivel, -1, false}}) {
        SCOPED_TRACE(k.nombre);
        if (k.clase == T::Movible)
            c.SetMovible(2, k.prestadas);
        EnVista v;
        v.Clase = k.clase;
        v.Indice = k.indice;
        c.Mostrar(v);
        const auto e = c.Exportar();
        ASSERT_TRUE(e.has_value());
        EXPECT_EQ(e->Nombre, k.nombre);
        EXPECT_EQ(e->Opciones.Que, k.que);
        if (k.que != G::Nivel) {
            EXPECT_EQ(e->Opciones.Numero, k.indice);
        }
        EXPECT_EQ(e->Opciones.Animadas.MeshesDe, k.meshesDe);
        EXPECT_EQ(e->Opciones.Animadas.Todas, k.todas);
        EXPECT_EQ(c.EnNivel(), k.clase == T::Nivel);
    }
    // A moveable is named only while one is on show: its meshes do not leak into the level's.
    EXPECT_EQ(c.Movible(), -1);
    // The same moveable worn the same way is not built again; another, or other meshes, is.
    c.SetMovible(4, -1);
    EXPECT_FALSE(c.OtroMovible(4, -1));
    EXPECT_TRUE(c.OtroMovible(4, 12));
    EXPECT_TRUE(c.OtroMovible(3, -1));
    c.Quitar();
    EXPECT_EQ(c.Mostrado(), nullptr);
    EXPECT_TRUE(c.OtroMovible(4, -1));
    EXPECT_FALSE(c.Exportar().has_value());
}

// The recent files alone, on a menu of their own: the last first, each once, at most eight,
// remembered for the next run; one whose file is gone goes when it fails, one that is there stays.
TEST(ArchivosRecientes, OrdenTopeYArchivoQueYaNoEsta) {
    SinAjustes sinAjustes;
    QTemporaryDir carpeta;
    QStringList rutas;
    for (int i = 0; i < 10; ++i) {
        rutas << carpeta.filePath(QString("r%1.tr4").arg(i));
        QFile f(rutas.last());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    QMenu menu;
    ArchivosRecientes r(&menu, nullptr);
    EXPECT_TRUE(r.Lista().isEmpty());
    QStringList pedidas;
    QObject::connect(&r, &ArchivosRecientes::Abrir, [&](const QString& ruta) { pedidas << ruta; });
    for (const QString& ruta : rutas)
        r.Agregar(ruta);
    r.Agregar(rutas[3]);
    r.Agregar(QDir(carpeta.path()).filePath("sub/../r9.tr4")); // the same file by another road
    const QStringList esperadas = {rutas[9], rutas[3], rutas[8], rutas[7],
                                   rutas[6], rutas[5], rutas[4], rutas[2]};
    EXPECT_EQ(r.Lista(), esperadas);
    EXPECT_EQ(r.Lista().size(), ArchivosRecientes::MAXIMO);
    menu.findChild<QAction*>("Reciente1")->trigger();
    EXPECT_EQ(pedidas, QStringList{rutas[3]});

    r.Fallido(rutas[8]); // failed, but it is there: it may be mended
    EXPECT_EQ(r.Lista(), esperadas);
    QFile::remove(rutas[8]);
    r.Fallido(rutas[8]);
    EXPECT_FALSE(r.Lista().contains(rutas[8]));
    EXPECT_FALSE(menu.findChild<QAction*>("Reciente7")->isVisible());

    // The next run finds the same list, at most eight however many were written.
    QMenu otroMenu;
    ArchivosRecientes otra(&otroMenu, nullptr);
    EXPECT_EQ(otra.Lista(), r.Lista());
    QSettings("tr4visor", "tr4visor").setValue("archivos/recientes", rutas + rutas);
    QMenu tercerMenu;
    EXPECT_EQ(ArchivosRecientes(&tercerMenu, nullptr).Lista().size(), ArchivosRecientes::MAXIMO);
}

// The first window, remembering nothing, fits the screen: moved in, made smaller only where the
// screen is.
TEST(LugarInicial, LaPrimeraVentanaCabeEnLaPantalla) {
    const QRect disenada(194, 111, 1059, 904);
    EXPECT_EQ(LugarInicial(disenada, QRect(0, 0, 1920, 1200), QSize(16, 40)), disenada);
    EXPECT_EQ(LugarInicial(disenada, QRect(0, 0, 1280, 1000), QSize(16, 40)),
              QRect(194, 56, 1059, 904));
    EXPECT_EQ(LugarInicial(disenada, QRect(0, 24, 1024, 768), QSize(16, 40)),
              QRect(0, 24, 1008, 728));
    EXPECT_EQ(LugarInicial(disenada, QRect(1920, 0, 1280, 1024), QSize(16, 40)),
              QRect(1920, 80, 1059, 904));
}

TEST_F(Ventana, LaBarraDeEstadoDiceQueSeMuestraYLasPaginasSeGuardanComoSeSuben) {
    const QString ruta = Escribir("paginas.tr4", EscribirNivel(ConPaginas()));
    Elegir(ruta);
    ventana.ListBox1->setCurrentRow(1);
    EXPECT_EQ(Texto("EstadoVista"), "Mesh 1: 4 vértices, 1 rectángulos, 1 triángulos, "
                                    "2 con textura, radio 150, páginas 0, 1");
    EXPECT_EQ(Texto("EstadoNivel"),
              QString("paginas.tr4, Tomb Raider 4, %1 KiB").arg((QFileInfo(ruta).size() + 1023) / 1024));
    ventana.ListBox1->setCurrentRow(0);
    EXPECT_EQ(Texto("EstadoVista"), "Mesh 0: 3 vértices, 0 rectángulos, 1 triángulos, "
                                    "1 con textura, radio 0, páginas 1");

    // The dock: a thumbnail a page; the large view outlines the faces of what is on show.
    auto* paginas = ventana.findChild<PanelPaginas*>("PanelPaginas");
    auto* vista = ventana.findChild<VistaPagina*>("VistaPagina");
    ASSERT_TRUE(paginas && vista);
    EXPECT_EQ(ventana.findChild<QListWidget*>("MiniaturasPaginas")->count(), 2);
    ventana.ListBox1->setCurrentRow(1);
    paginas->MostrarPagina(1);
    EXPECT_EQ(vista->NumContornos(), 1);
    paginas->MostrarPagina(0);
    EXPECT_EQ(vista->NumContornos(), 1);
    vista->SetZoom(99);
    EXPECT_EQ(vista->Zoom(), VistaPagina::ZOOM_MAXIMO);

    // The PNG holds the page's bytes exactly as uploaded, alpha included.
    const QString png = carpeta.filePath("pagina.png");
    paginas->ElegirDestino = [&](const QString&) { return png; };
    paginas->MostrarPagina(1);
    ASSERT_TRUE(paginas->GuardarPagina());
    const QImage leida = QImage(png).convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(leida.size(), QSize(256, 256));
    const Bytes esperados = ConPaginas().paginas;
    EXPECT_EQ(std::memcmp(leida.constBits(), esperados.data() + 262144, 262144), 0);
    // A place it cannot be written is named, nothing else changes.
    QStringList fallos;
    paginas->Avisar = [&](const QString& t) { fallos << t; };
    paginas->ElegirDestino = [&](const QString&) { return carpeta.filePath("no/existe.png"); };
    EXPECT_FALSE(paginas->GuardarPagina());
    EXPECT_EQ(fallos.size(), 1);

    // Another level: the dock follows; the status drops what was on show.
    Elegir(Escribir("tres.tr4", EscribirNivel(ConMeshes(3))));
    EXPECT_EQ(ventana.findChild<QListWidget*>("MiniaturasPaginas")->count(), 0);
    EXPECT_EQ(Texto("EstadoVista"), "");
    EXPECT_TRUE(vista->Imagen().isNull());
}

TEST(VentanaEnIngles, TodoTextoDeLaVentanaVaEnIngles) {
    auto& aplicacion = *static_cast<Aplicacion*>(QCoreApplication::instance());
    aplicacion.AplicarIdioma(Idioma::Ingles);
    std::shared_ptr<void> volver(nullptr,
                                 [&](void*) { aplicacion.AplicarIdioma(Idioma::Espanol); });
    QTemporaryDir carpeta;
    SinAjustes sinAjustes;
    TForm1 ventana;
    QStringList avisos;
    ventana.Avisar = [&](const QString& t) { avisos << t; };
    const QString ruta = carpeta.filePath("paginas.tr4");
    ASSERT_TRUE(GuardarArchivo(ruta.toStdString(), EscribirNivel(ConPaginas())));
    ventana.AbrirArchivo(ruta);
    ventana.ListBox1->setCurrentRow(1);

    EXPECT_EQ(ventana.windowTitle(), "Test Viewer — paginas.tr4");
    QStringList menus;
    for (QAction* a : ventana.menuBar()->actions())
        menus << a->text();
    EXPECT_EQ(menus, QStringList({"File", "View", "Help"}));
    EXPECT_EQ(ventana.Abrir1->text(), "Open");
    EXPECT_EQ(ventana.Exportar1->text(), "Export...");
    EXPECT_EQ(ventana.Salir1->text(), "Quit");
    EXPECT_EQ(ventana.Acerca2->text(), "About..");
    EXPECT_EQ(ventana.findChild<QAction*>("Paginas1")->text(), "Texture pages");
    EXPECT_EQ(ventana.RadioButton1->text(), "Textured");
    EXPECT_EQ(ventana.ListBox1->item(1)->text(), "Object:1");
    EXPECT_EQ(ventana.TreeView1->headerItem()->text(0), "Objects");
    EXPECT_EQ(ventana.TreeView1->topLevelItem(0)->text(0), "Moveables (0)");
    EXPECT_EQ(ventana.TreeView1->topLevelItem(1)->text(0), "Statics (0)");
    EXPECT_EQ(ventana.findChild<QLabel*>("EstadoVista")->text(),
              "Mesh 1: 4 vertices, 1 rectangles, 1 triangles, 2 textured, radius 150, pages 0, 1");
    AcercaDe acerca;
    EXPECT_TRUE(acerca.Texto().contains("MIT licence")) << acerca.Texto().toStdString();
    EXPECT_EQ(acerca.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->text(), "OK");

    const QString danado = carpeta.filePath("danado.tr4");
    ASSERT_TRUE(GuardarArchivo(danado.toStdString(), Bytes(10, 0)));
    ventana.AbrirArchivo(danado);
    ASSERT_EQ(avisos.size(), 1);
    EXPECT_TRUE(avisos[0].startsWith("Could not open the level")) << avisos[0].toStdString();
}

} // namespace

TEST(Aplicacion, UnaExcepcionEnUnManejadorSeAvisaYElProgramaTerminaBien) {
    auto& aplicacion = *static_cast<Aplicacion*>(QCoreApplication::instance());
    QStringList avisos;
    aplicacion.AvisarError = [&](const QString& texto) { avisos << texto; };
    QTimer::singleShot(0, [] { throw std::runtime_error("prueba"); });
    EXPECT_EQ(aplicacion.exec(), 0);
    EXPECT_EQ(avisos, QStringList({"Error inesperado: prueba"}));
}

int main(int argc, char** argv) {
    // Set here rather than by CTest, so that the program also runs by hand without a display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // What the window remembers goes to a folder of the test's own, never the user's.
    char ajustes[] = "/tmp/app_test-ajustes-XXXXXX";
    if (!mkdtemp(ajustes))
        return 1;
    setenv("XDG_CONFIG_HOME", ajustes, 1);
    std::shared_ptr<void> borrar(nullptr, [&](void*) { QDir(ajustes).removeRecursively(); });
    // The window's own texts, whatever the locale the tests run under.
    FijarIdioma(Idioma::Espanol);
    Aplicacion aplicacion(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

TEST_F(Ventana, UnMovibleReproducePausaYRecorreSusAnimaciones) {
    Elegir(Escribir("animado.tr4", EscribirNivel(NivelAnimado())));
    QTreeWidgetItem* movibles = ventana.TreeView1->topLevelItem(0);
    ASSERT_EQ(movibles->text(0), "Movibles (2)");
    QTreeWidgetItem* animaciones = movibles->child(0)->child(0);
    ASSERT_TRUE(animaciones);
    EXPECT_EQ(animaciones->text(0), "Animaciones (2)");
    EXPECT_TRUE(animaciones->child(0)->text(0).startsWith("0 · 3 claves · 5 cuadros · 0"))
        << animaciones->child(0)->text(0).toStdString();
    EXPECT_TRUE(animaciones->child(1)->text(0).endsWith(" s · estado 2"));
    BarraAnimacion* barra = ventana.Animacion1;
    EXPECT_FALSE(barra->Linea->isEnabled());

    // Picking an animation shows its moveable playing it from its first frame.
    ventana.TreeView1->setCurrentItem(animaciones->child(1));
    ASSERT_TRUE(ventana.Mostrado());
    EXPECT_EQ(ventana.Mostrado()->Clase, Elegido::Movible);
    EXPECT_EQ(ventana.Mostrado()->Indice, 3);
    EXPECT_TRUE(barra->Anda());
    EXPECT_EQ(barra->Estado().Animacion(), 1u);
    EXPECT_EQ(barra->Linea->maximum(), 4 * 4); // five frames, four steps each
    std::vector<glm::mat4> pose;
    ASSERT_TRUE(barra->Posar(pose));
    QTest::qWait(60);
    ASSERT_TRUE(barra->Posar(pose));
    EXPECT_GT(barra->Estado().Cuadro(), 0);

    // Paused, time passes and the frame stands; a step goes one frame on and stays paused.
    barra->Reproducir->click();
    EXPECT_FALSE(barra->Anda());
    const double quieto = barra->Estado().Cuadro();
    QTest::qWait(40);
    barra->Posar(pose);
    EXPECT_EQ(barra->Estado().Cuadro(), quieto);
    barra->Adelante->click();
    EXPECT_EQ(barra->Estado().Cuadro(), std::floor(quieto) + 1);
    EXPECT_FALSE(barra->Anda());
    // Scrubbing to the end of the timeline poses the last frame, between keyframes.
    barra->Linea->setValue(barra->Linea->maximum());
    EXPECT_EQ(barra->Estado().Cuadro(), 4);
    EXPECT_EQ(barra->Cuadro->text(), "4 / 4");
    // Going on to the next animation as the game does: animation 1 leads to 0 at its frame 2.
    barra->Forma->setCurrentIndex(1);
    barra->Reproducir->click();
    barra->Posar(pose);
    QTest::qWait(80);
    barra->Posar(pose);
    EXPECT_EQ(barra->Estado().Animacion(), 0u);

    // Moveable 4's faulty animations are listed, not played; it may wear moveable 3's meshes.
    QTreeWidgetItem* otras = movibles->child(1)->child(0);
    ASSERT_EQ(otras->childCount(), 6);
    EXPECT_EQ(otras->child(1)->text(0), "3 · no se puede ver");
    EXPECT_EQ(otras->child(1)->toolTip(0), "sus cuadros no están en este nivel");
    ventana.TreeView1->setCurrentItem(otras->child(1));
    EXPECT_EQ(ventana.Mostrado()->Indice, 3); // nothing happened
    ventana.TreeView1->setCurrentItem(movibles->child(1));
    EXPECT_EQ(ventana.Mostrado()->Indice, 4);
    EXPECT_FALSE(barra->HayAnimacion());
    ASSERT_EQ(barra->MeshesDe->count(), 2);
    EXPECT_EQ(barra->MeshesDe->itemText(1), "Meshes de: movible 3");
}

#include "CargarNivel.h"
#include "trFilaNivel.h"
#include "trLector.h"

#include <string>

namespace {

// What a person reads when a row cannot be read, indexed by row of the level data block.
const char* const NOMBRE_FILA[59] = {
    "",
    "el valor inicial",
    "el número de cuartos",
    "los cuartos",
    "el número de datos de suelo",
    "los datos de suelo",
    "el número de palabras de meshes",
    "los datos de meshes",
    "el número de punteros de meshes",
    "los punteros de meshes",
    "el número de animaciones",
    "las animaciones",
    "el número de cambios de estado",
    "los cambios de estado",
    "el número de despachos de animación",
    "los despachos de animación",
    "el número de comandos de animación",
    "los comandos de animación",
    "el número de árboles de meshes",
    "los árboles de meshes",
    "el número de cuadros de animación",
    "los cuadros de animación",
    "el número de movibles",
    "los movibles",
    "el número de meshes estáticos",
    "los meshes estáticos",
    "el preludio de sprites",
    "el número de texturas de sprite",
    "las texturas de sprite",
    "el número de secuencias de sprite",
    "las secuencias de sprite",
    "el número de cámaras",
    "las cámaras",
    "el número de cámaras de vuelo",
    "las cámaras de vuelo",
    "el número de fuentes de sonido",
    "las fuentes de sonido",
    "el número de cajas",
    "las cajas",
    "el número de solapes",
    "los solapes",
    "las zonas",
    "el número de texturas animadas",
    "las texturas animadas",
    "el preludio de texturas",
    "el número de texturas de objeto",
    "las texturas de objeto",
    "el número de items",
    "los items",
    "el número de objetos de IA",
    "los objetos de IA",
    "el número de datos de demo",
    "los datos de demo",
    "el mapa de sonido",
    "el número de detalles de sonido",
    "los detalles de sonido",
    "el número de índices de muestras",
    "los índices de muestras",
    "los bytes finales",
};

// Every row up to the object textures decides where the mesh data and the object textures
// lie; a refusal there leaves the level unreadable. Later rows are held but used by nothing.
constexpr int ULTIMA_FILA_NECESARIA = 46;

// The fewest bytes one room record can take: every count present, every array empty.
constexpr uint32_t BYTES_MINIMOS_CUARTO = 16 + 4 + 4 * 2 + 2 + 2 + 2 + 2 + 2 + 2 + 2 + 2 + 2 + 3;

// A trLector that remembers the first read it refused, with a reason a person can act on, and
// refuses an array before allocating it when the block cannot hold its bytes.
class Recorrido {
  public:
    explicit Recorrido(const trBytes& bloque) {
        lector_.Iniciar(static_cast<uint32_t>(bloque.size()), bloque.data());
    }

    bool Rechazado() const { return filaRechazada_ != 0; }
    int FilaRechazada() const { return filaRechazada_; }
    const std::string& Motivo() const { return motivo_; }
    uint32_t Restante() const { return lector_.Restante(); }

    void Bytes(int fila, void* destino, uint32_t longitud, const std::string& nombre = {}) {
        if (lector_.Leer(destino, longitud) != trLector::LEIDO)
            Rechazar(fila, "el bloque 4 termina (" + std::to_string(lector_.Tamano) + " bytes) " +
                               AntesDe(Nombre(fila, nombre)));
    }

    template <class T> void Campo(int fila, T& destino, const std::string& nombre = {}) {
        Bytes(fila, &destino, sizeof(T), nombre);
    }

    // An array of cuenta elements of tamano bytes, read in one copy.
    void Arreglo(int fila, uint64_t cuenta, uint32_t tamano, trBytes& destino,
                 const std::string& nombre = {}) {
        destino.clear();
        if (!Cabe(fila, cuenta, tamano, nombre))
            return;
        destino.resize(cuenta * tamano);
        lector_.Leer(destino.data(), static_cast<uint32_t>(destino.size()));
    }

    bool Cabe(int fila, uint64_t cuenta, uint64_t tamano, const std::string& nombre = {}) {
        if (cuenta * tamano <= lector_.Restante())
            return true;
        Rechazar(fila, Nombre(fila, nombre) + " (" + std::to_string(cuenta) + " × " +
                           std::to_string(tamano) + " bytes desde la posición " +
                           std::to_string(lector_.Posicion) + ") no caben en el bloque 4 (" +
                           std::to_string(lector_.Tamano) + " bytes)");
        return false;
    }

  private:
    static std::string Nombre(int fila, const std::string& nombre) {
        return nombre.empty() ? NOMBRE_FILA[fila] : nombre;
    }
    // "antes de el ..." is not Spanish: the article contracts.
    static std::string AntesDe(const std::string& nombre) {
        return nombre.starts_with("el ") ? "antes del " + nombre.substr(3) : "antes de " + nombre;
    }
    void Rechazar(int fila, std::string motivo) {
        if (filaRechazada_ != 0)
            return;
        filaRechazada_ = fila;
        motivo_ = std::move(motivo);
    }

    trLector lector_;
    int filaRechazada_ = 0;
    std::string motivo_;
};

void LeerCuarto(Recorrido& r, trCuarto& c, const std::string& quien) {
    auto nombre = [&](const char* campo) { return quien + ", " + campo; };
    r.Bytes(3, c.Info, sizeof c.Info, nombre("su información"));
    r.Campo(3, c.NumPalabrasDatos, nombre("su número de palabras"));

    struct Geometria {
        int16_t& cuenta;
        trBytes& datos;
        uint32_t tamano;
        const char* nombre;
    } geometria[] = {
        {c.NumVertices, c.Vertices, 12, "los vértices"},
        {c.NumRectangulos, c.Rectangulos, 10, "los rectángulos"},
        {c.NumTriangulos, c.Triangulos, 8, "los triángulos"},
        {c.NumSprites, c.Sprites, 4, "los sprites"},
    };
    for (auto& g : geometria) {
        r.Campo(3, g.cuenta, nombre(g.nombre));
        if (g.cuenta > 0)
            r.Arreglo(3, uint64_t(g.cuenta), g.tamano, g.datos, nombre(g.nombre));
    }

    r.Campo(3, c.NumPortales, nombre("el número de portales"));
    if (c.NumPortales != 0)
        r.Arreglo(3, c.NumPortales, 32, c.Portales, nombre("los portales"));

    r.Campo(3, c.DimensionSectores1, nombre("la rejilla de sectores"));
    r.Campo(3, c.DimensionSectores2, nombre("la rejilla de sectores"));
    const uint32_t sectores = uint32_t{c.DimensionSectores1} * c.DimensionSectores2;
    r.Arreglo(3, sectores, 8, c.Sectores, nombre("los sectores"));

    r.Campo(3, c.ColorBajo, nombre("su color"));
    r.Campo(3, c.ColorAlto, nombre("su color"));

    r.Campo(3, c.NumLuces, nombre("el número de luces"));
    if (c.NumLuces != 0)
        r.Arreglo(3, c.NumLuces, 46, c.Luces, nombre("las luces"));

    r.Campo(3, c.NumMeshesEstaticos, nombre("el número de meshes estáticos"));
    if (c.NumMeshesEstaticos != 0)
        r.Arreglo(3, c.NumMeshesEstaticos, 20, c.MeshesEstaticos, nombre("los meshes estáticos"));

    r.Campo(3, c.CuartoAlterno, nombre("su cuarto alterno"));
    r.Campo(3, c.Banderas, nombre("sus banderas"));
    uint8_t tres[3] = {};
    r.Bytes(3, tres, 3, nombre("sus últimos bytes"));
    c.EsquemaAgua = tres[0];
    c.Reverberacion = tres[1];
    c.GrupoAlterno = tres[2];
}

void LeerCuartos(Recorrido& r, trNivel& n) {
    if (n.NumCuartos == 0)
        return;
    // Checked before the records are taken, so a lying count cannot reserve a huge array.
    if (!r.Cabe(3, n.NumCuartos, BYTES_MINIMOS_CUARTO))
        return;
    n.Cuartos.resize(n.NumCuartos);
    for (uint32_t i = 0; i < n.NumCuartos && !r.Rechazado(); ++i)
        LeerCuarto(r, n.Cuartos[i],
                   "cuarto " + std::to_string(i) + " de " + std::to_string(n.NumCuartos));
}

void LeerTexturasObjeto(Recorrido& r, trNivel& n) {
    if (n.NumTexturasObjeto == 0 ||
        !r.Cabe(46, n.NumTexturasObjeto, trTexturaObjeto::BYTES_EN_ARCHIVO))
        return;
    n.TexturasObjeto.resize(n.NumTexturasObjeto);
    for (auto& t : n.TexturasObjeto) {
        r.Campo(46, t.Atributo);
        r.Campo(46, t.Tile);
        r.Campo(46, t.Banderas);
        for (auto& e : t.Esquinas)
            r.Bytes(46, &e, 4); // x then y, as in the file
        r.Campo(46, t.ValorA);
        r.Campo(46, t.ValorB);
        r.Campo(46, t.ValorC);
        r.Campo(46, t.ValorD);
    }
}

// The level data block is a fixed sequence of rows; every field is read whatever came before,
// and the caller decides from the first refused row whether the level can be used.
void Recorrer(Recorrido& r, trNivel& n) {
    for (const trFilaNivel& f : FILAS_NIVEL) {
        switch (f.Numero) {
        case 0:
            continue;
        case 3:
            LeerCuartos(r, n);
            if (r.Rechazado())
                return; // nothing after a broken room lies where it should
            continue;
        case 46:
            LeerTexturasObjeto(r, n);
            if (r.Rechazado())
                return;
            // From here on nothing the viewer uses; a refusal only leaves its field empty.
            continue;
        }
        if (f.Clase != trClaseFila::Arreglo)
            r.Bytes(f.Numero, f.Campo(n), f.Tamano);
        else
            // A count of 0 takes and reads nothing, which is also what an array read "always"
            // amounts to when it is empty.
            r.Arreglo(f.Numero, CuentaDeFila(n, f.Numero), f.Tamano, *f.Datos(n));
    }
}

} // namespace

int LeerNivel(trNivel& nivel, std::string* motivo) {
    Recorrido r(nivel.DatosBloque[3]);
    Recorrer(r, nivel);
    if (r.Rechazado() && r.FilaRechazada() <= ULTIMA_FILA_NECESARIA) {
        if (motivo)
            *motivo = "datos del nivel dañados: " + r.Motivo();
        return 0;
    }
    return 1;
}

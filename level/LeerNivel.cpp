#include "CargarNivel.h"
#include "Idioma.h"
#include "trFilaNivel.h"
#include "trLector.h"

#include <string>

namespace {

// What a person reads when a row cannot be read, indexed by row of the level data block.
const char* const NOMBRE_FILA[59] = {
    "",
    PorTraducir("el valor inicial"),
    PorTraducir("el número de cuartos"),
    PorTraducir("los cuartos"),
    PorTraducir("el número de datos de suelo"),
    PorTraducir("los datos de suelo"),
    PorTraducir("el número de palabras de meshes"),
    PorTraducir("los datos de meshes"),
    PorTraducir("el número de punteros de meshes"),
    PorTraducir("los punteros de meshes"),
    PorTraducir("el número de animaciones"),
    PorTraducir("las animaciones"),
    PorTraducir("el número de cambios de estado"),
    PorTraducir("los cambios de estado"),
    PorTraducir("el número de despachos de animación"),
    PorTraducir("los despachos de animación"),
    PorTraducir("el número de comandos de animación"),
    PorTraducir("los comandos de animación"),
    PorTraducir("el número de árboles de meshes"),
    PorTraducir("los árboles de meshes"),
    PorTraducir("el número de cuadros de animación"),
    PorTraducir("los cuadros de animación"),
    PorTraducir("el número de movibles"),
    PorTraducir("los movibles"),
    PorTraducir("el número de meshes estáticos"),
    PorTraducir("los meshes estáticos"),
    PorTraducir("el preludio de sprites"),
    PorTraducir("el número de texturas de sprite"),
    PorTraducir("las texturas de sprite"),
    PorTraducir("el número de secuencias de sprite"),
    PorTraducir("las secuencias de sprite"),
    PorTraducir("el número de cámaras"),
    PorTraducir("las cámaras"),
    PorTraducir("el número de cámaras de vuelo"),
    PorTraducir("las cámaras de vuelo"),
    PorTraducir("el número de fuentes de sonido"),
    PorTraducir("las fuentes de sonido"),
    PorTraducir("el número de cajas"),
    PorTraducir("las cajas"),
    PorTraducir("el número de solapes"),
    PorTraducir("los solapes"),
    PorTraducir("las zonas"),
    PorTraducir("el número de texturas animadas"),
    PorTraducir("las texturas animadas"),
    PorTraducir("el preludio de texturas"),
    PorTraducir("el número de texturas de objeto"),
    PorTraducir("las texturas de objeto"),
    PorTraducir("el número de items"),
    PorTraducir("los items"),
    PorTraducir("el número de objetos de IA"),
    PorTraducir("los objetos de IA"),
    PorTraducir("el número de datos de demo"),
    PorTraducir("los datos de demo"),
    PorTraducir("el mapa de sonido"),
    PorTraducir("el número de detalles de sonido"),
    PorTraducir("los detalles de sonido"),
    PorTraducir("el número de índices de muestras"),
    PorTraducir("los índices de muestras"),
    PorTraducir("los bytes finales"),
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
            Rechazar(fila,
                     Formatear(Traducir("el bloque 4 termina (%s bytes) %s"),
                               {std::to_string(lector_.Tamano), AntesDe(Nombre(fila, nombre))}));
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
        if (lector_.Leer(destino.data(), static_cast<uint32_t>(destino.size())) != trLector::LEIDO)
            destino.clear();
    }

    bool Cabe(int fila, uint64_t cuenta, uint64_t tamano, const std::string& nombre = {}) {
        if (cuenta * tamano <= lector_.Restante())
            return true;
        Rechazar(fila,
                 Formatear(Traducir("%s (%s × %s bytes desde la posición %s) no caben en el "
                                    "bloque 4 (%s bytes)"),
                           {Nombre(fila, nombre), std::to_string(cuenta), std::to_string(tamano),
                            std::to_string(lector_.Posicion), std::to_string(lector_.Tamano)}));
        return false;
    }

  private:
    // A name given by the caller is in the language in force already.
    static std::string Nombre(int fila, const std::string& nombre) {
        return nombre.empty() ? Traducir(NOMBRE_FILA[fila]) : nombre;
    }
    // "antes de el ..." is not Spanish: the article contracts. Other languages take the
    // catalogue's form with the name whole.
    static std::string AntesDe(const std::string& nombre) {
        if (IdiomaActual() == Idioma::Espanol && nombre.starts_with("el "))
            return "antes del " + nombre.substr(3);
        return Formatear(Traducir("antes de %s"), {nombre});
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
    auto nombre = [&](const char* campo) { return quien + ", " + Traducir(campo); };
    r.Bytes(3, c.Info, sizeof c.Info, nombre(PorTraducir("su información")));
    r.Campo(3, c.NumPalabrasDatos, nombre(PorTraducir("su número de palabras")));

    struct Geometria {
        int16_t& cuenta;
        trBytes& datos;
        uint32_t tamano;
        const char* nombre;
    } geometria[] = {
        {c.NumVertices, c.Vertices, 12, PorTraducir("los vértices")},
        {c.NumRectangulos, c.Rectangulos, 10, PorTraducir("los rectángulos")},
        {c.NumTriangulos, c.Triangulos, 8, PorTraducir("los triángulos")},
        {c.NumSprites, c.Sprites, 4, PorTraducir("los sprites")},
    };
    for (auto& g : geometria) {
        r.Campo(3, g.cuenta, nombre(g.nombre));
        if (g.cuenta > 0)
            r.Arreglo(3, uint64_t(g.cuenta), g.tamano, g.datos, nombre(g.nombre));
    }

    r.Campo(3, c.NumPortales, nombre(PorTraducir("el número de portales")));
    if (c.NumPortales != 0)
        r.Arreglo(3, c.NumPortales, 32, c.Portales, nombre(PorTraducir("los portales")));

    r.Campo(3, c.DimensionSectores1, nombre(PorTraducir("la rejilla de sectores")));
    r.Campo(3, c.DimensionSectores2, nombre(PorTraducir("la rejilla de sectores")));
    const uint32_t sectores = uint32_t{c.DimensionSectores1} * c.DimensionSectores2;
    r.Arreglo(3, sectores, 8, c.Sectores, nombre(PorTraducir("los sectores")));

    r.Campo(3, c.ColorBajo, nombre(PorTraducir("su color")));
    r.Campo(3, c.ColorAlto, nombre(PorTraducir("su color")));

    r.Campo(3, c.NumLuces, nombre(PorTraducir("el número de luces")));
    if (c.NumLuces != 0)
        r.Arreglo(3, c.NumLuces, 46, c.Luces, nombre(PorTraducir("las luces")));

    r.Campo(3, c.NumMeshesEstaticos, nombre(PorTraducir("el número de meshes estáticos")));
    if (c.NumMeshesEstaticos != 0)
        r.Arreglo(3, c.NumMeshesEstaticos, 20, c.MeshesEstaticos,
                  nombre(PorTraducir("los meshes estáticos")));

    r.Campo(3, c.CuartoAlterno, nombre(PorTraducir("su cuarto alterno")));
    r.Campo(3, c.Banderas, nombre(PorTraducir("sus banderas")));
    uint8_t tres[3] = {};
    r.Bytes(3, tres, 3, nombre(PorTraducir("sus últimos bytes")));
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
                   Formatear(Traducir("cuarto %s de %s"),
                             {std::to_string(i), std::to_string(n.NumCuartos)}));
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
            *motivo = Formatear(Traducir("datos del nivel dañados: %s"), {r.Motivo()});
        return 0;
    }
    nivel.FilaNoLeida = static_cast<uint8_t>(r.FilaRechazada());
    return 1;
}

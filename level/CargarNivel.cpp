#include "CargarNivel.h"
#include "Idioma.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <memory>
#include <new>

namespace {

// Deflate cannot expand beyond about 1032 to 1; a stated inflated size above that bound is a lie
// that must not turn into an allocation.
constexpr uint64_t RAZON_MAXIMA_ZLIB = 1032;
// Block 3 of a level laid out for the next game in the series; such files carry the same version.
constexpr uint32_t BLOQUE3_OTRA_DISPOSICION = 786432;

class Cursor {
  public:
    Cursor(const uint8_t* datos, size_t tamano) : datos_(datos), tamano_(tamano) {}
    size_t Restante() const { return tamano_ - posicion_; }
    size_t Posicion() const { return posicion_; }
    const uint8_t* Aqui() const { return datos_ + posicion_; }
    void Avanzar(size_t n) { posicion_ += n; }
    template <class T> bool Leer(T& valor) {
        if (Restante() < sizeof(T))
            return false;
        std::memcpy(&valor, Aqui(), sizeof(T));
        posicion_ += sizeof(T);
        return true;
    }

  private:
    const uint8_t* datos_;
    size_t tamano_;
    size_t posicion_ = 0;
};

bool Fallar(std::string* motivo, std::string texto) {
    if (motivo)
        *motivo = std::move(texto);
    return false;
}

// zlib says only "data error"; a wrong two-byte header tells a person more: not zlib at all.
bool CabeceraZlibValida(const uint8_t* p, size_t n) {
    return n >= 2 && (p[0] & 0x0F) == Z_DEFLATED && (p[0] >> 4) <= 7 &&
           ((p[0] << 8) | p[1]) % 31 == 0;
}

enum class Inflado { Bien, Excede, Danado, SinMemoria };

// Inflates one zlib stream of at most `declarado` bytes. The stated size is only a ceiling: the
// buffer grows with what the stream really yields, so a lying size never becomes a huge
// allocation, and an honest one is met with a single buffer.
Inflado Inflar(const uint8_t* flujo, uint32_t comprimido, uint32_t declarado, trBytes& destino,
               uint64_t& escritos) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return Inflado::SinMemoria;
    std::unique_ptr<z_stream, int (*)(z_stream*)> cerrar(&z, &inflateEnd);
    z.next_in = const_cast<Bytef*>(flujo);
    z.avail_in = comprimido;

    uint64_t capacidad = std::min<uint64_t>(declarado, uint64_t{comprimido} * 16 + (1u << 20));
    uint8_t sobra = 0;
    try {
        destino.resize(capacidad);
        for (;;) {
            if (z.total_out == capacidad && capacidad < declarado) {
                capacidad = std::min<uint64_t>(declarado, capacidad * 2);
                destino.resize(capacidad);
            }
            // At the stated size, one spare byte tells a stream that ends there from one that
            // would go on.
            const bool enElTope = z.total_out == capacidad;
            z.next_out = enElTope ? &sobra : destino.data() + z.total_out;
            z.avail_out = enElTope ? 1 : static_cast<uInt>(capacidad - z.total_out);
            const int r = inflate(&z, Z_NO_FLUSH);
            if (enElTope && z.avail_out == 0)
                return Inflado::Excede;
            if (r == Z_STREAM_END)
                break;
            if (r == Z_MEM_ERROR)
                return Inflado::SinMemoria;
            if ((r != Z_OK && r != Z_BUF_ERROR) || (z.avail_in == 0 && z.avail_out != 0))
                return Inflado::Danado;
        }
    } catch (const std::bad_alloc&) {
        return Inflado::SinMemoria;
    }
    escritos = z.total_out;
    destino.resize(escritos);
    return Inflado::Bien;
}

bool InflarBloque(Cursor& c, int b, trNivel& n, std::string* motivo) {
    const std::string bloque = Formatear(Traducir("bloque %s"), {std::to_string(b + 1)});
    trBloque& info = n.Bloques[b];
    if (!c.Leer(info.TamanoInflado) || !c.Leer(info.TamanoComprimido))
        return Fallar(motivo, Formatear(Traducir("el archivo termina antes del %s (posición %s)"),
                                        {bloque, std::to_string(c.Posicion())}));
    if (info.TamanoComprimido > c.Restante())
        return Fallar(motivo, Formatear(Traducir("%s: dice tener %s bytes comprimidos, pero al "
                                                 "archivo solo le quedan %s"),
                                        {bloque, std::to_string(info.TamanoComprimido),
                                         std::to_string(c.Restante())}));
    if (info.TamanoInflado > uint64_t{info.TamanoComprimido} * RAZON_MAXIMA_ZLIB + 64)
        return Fallar(motivo,
                      Formatear(Traducir("%s: %s bytes no pueden salir de %s bytes comprimidos"),
                                {bloque, std::to_string(info.TamanoInflado),
                                 std::to_string(info.TamanoComprimido)}));
    if (info.TamanoInflado > MAXIMO_BLOQUE_INFLADO)
        return Fallar(motivo, Formatear(Traducir("%s: dice descomprimirse en %s bytes, más de "
                                                 "los %s que puede tener un nivel"),
                                        {bloque, std::to_string(info.TamanoInflado),
                                         std::to_string(MAXIMO_BLOQUE_INFLADO)}));
    if (!CabeceraZlibValida(c.Aqui(), info.TamanoComprimido))
        return Fallar(motivo, Formatear(Traducir("%s: no es un flujo zlib (¿archivo cifrado o "
                                                 "de otro formato?)"),
                                        {bloque}));

    uint64_t escritos = 0;
    switch (
        Inflar(c.Aqui(), info.TamanoComprimido, info.TamanoInflado, n.DatosBloque[b], escritos)) {
    case Inflado::Bien:
        break;
    case Inflado::SinMemoria:
        return Fallar(motivo, Formatear(Traducir("%s: no hay memoria para sus %s bytes"),
                                        {bloque, std::to_string(info.TamanoInflado)}));
    case Inflado::Excede:
        return Fallar(motivo, Formatear(Traducir("%s: se descomprime en más de los %s bytes que "
                                                 "declara"),
                                        {bloque, std::to_string(info.TamanoInflado)}));
    case Inflado::Danado:
        return Fallar(motivo,
                      Formatear(Traducir("%s: el flujo zlib está dañado o incompleto"), {bloque}));
    }
    // A stream shorter than stated is accepted; the record then holds the true length.
    info.TamanoInflado = static_cast<uint32_t>(escritos);
    c.Avanzar(info.TamanoComprimido);
    return true;
}

bool LeerContenedor(Cursor& c, trNivel& n, std::string* motivo) {
    if (c.Restante() < sizeof n.Version + sizeof n.Cabecera)
        return Fallar(
            motivo,
            Formatear(Traducir("el archivo es demasiado corto para ser un nivel (%s bytes)"),
                      {std::to_string(c.Restante())}));
    c.Leer(n.Version);
    c.Leer(n.Cabecera);
    for (int b = 0; b < 4; ++b)
        if (!InflarBloque(c, b, n, motivo)) {
            if (b == 3 && n.Bloques[2].TamanoInflado == BLOQUE3_OTRA_DISPOSICION && motivo)
                *motivo +=
                    Traducir("; su bloque 3 de 786432 bytes indica un nivel de Tomb Raider 5, "
                             "no de Tomb Raider 4");
            return false;
        }
    if (!c.Leer(n.ValorFinal))
        return Fallar(motivo,
                      Traducir("el archivo termina antes de su valor final: está truncado"));
    n.Cola.assign(c.Aqui(), c.Aqui() + c.Restante());
    return true;
}

} // namespace

int CargarNivelDeMemoria(const uint8_t* datos, size_t tamano, trNivel& nivel, std::string* motivo) {
    // Everything goes into a fresh record, handed over only when the whole level was readable,
    // so a damaged file never spoils the level the caller already holds.
    auto nuevo = std::make_unique<trNivel>();
    Cursor c(datos, datos ? tamano : 0);
    if (!LeerContenedor(c, *nuevo, motivo) || !LeerNivel(*nuevo, motivo))
        return 0;
    nivel = std::move(*nuevo);
    return 1;
}

int CargarNivel(const char* archivo, trNivel& nivel, std::string* motivo) {
    if (archivo == nullptr || *archivo == '\0')
        return Fallar(motivo, Traducir("no se indicó ningún archivo"));
    std::error_code ec;
    const auto estado = std::filesystem::status(archivo, ec);
    if (std::filesystem::is_directory(estado))
        return Fallar(motivo, Traducir("es una carpeta, no un archivo de nivel"));
    // Opening a pipe or a device would wait for a writer or read without end.
    if (std::filesystem::exists(estado) && !std::filesystem::is_regular_file(estado))
        return Fallar(motivo, Traducir("no es un archivo normal, no puede ser un nivel"));

    std::unique_ptr<FILE, int (*)(FILE*)> f(std::fopen(archivo, "rb"), &std::fclose);
    if (!f) {
        const int error = errno; // before any lookup of the text can touch it
        return Fallar(motivo, Formatear(Traducir("no se puede abrir: %s"), {std::strerror(error)}));
    }
    const auto tamano = std::filesystem::file_size(archivo, ec);
    if (ec)
        return Fallar(motivo,
                      Formatear(Traducir("no se puede saber su tamaño: %s"), {ec.message()}));
    if (tamano > MAXIMO_ARCHIVO_NIVEL)
        return Fallar(motivo, Formatear(Traducir("mide %s bytes, demasiado para ser un nivel"),
                                        {std::to_string(tamano)}));

    trBytes bytes(tamano);
    if (std::fread(bytes.data(), 1, bytes.size(), f.get()) != bytes.size()) {
        const int error = errno;
        return Fallar(motivo,
                      Formatear(Traducir("no se puede leer: %s"),
                                {std::ferror(f.get()) ? std::strerror(error)
                                                      : Traducir("termina antes de tiempo")}));
    }
    return CargarNivelDeMemoria(bytes.data(), bytes.size(), nivel, motivo);
}

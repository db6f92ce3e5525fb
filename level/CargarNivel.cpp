#include "CargarNivel.h"
#include "Idioma.h"
#include "InflarFlujos.h"
#include "LeerClasico.h"
#include "LeerTR5.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#ifndef TR4_SIN_ARCHIVOS
#include <filesystem>
#endif
#include <memory>
#include <new>
#include <optional>

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
    // Never past the end: a short file then simply has nothing left to read.
    void Avanzar(size_t n) { posicion_ += std::min(n, Restante()); }
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

// Reads block b's sizes and checks them before anything is allocated, then moves past its stream.
bool LocalizarBloque(Cursor& c, int b, trNivel& n, FlujoBloque& flujo, std::string* motivo) {
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

    flujo = {c.Aqui(), info.TamanoComprimido, info.TamanoInflado};
    c.Avanzar(info.TamanoComprimido);
    return true;
}

// Block b as it came out of the inflation.
bool AceptarInflado(int b, Inflado resultado, trNivel& n, std::string* motivo) {
    const std::string bloque = Formatear(Traducir("bloque %s"), {std::to_string(b + 1)});
    trBloque& info = n.Bloques[b];
    switch (resultado) {
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
    info.TamanoInflado = static_cast<uint32_t>(n.DatosBloque[b].size());
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
    // Every block is located and its sizes checked first; the streams then inflate together, and
    // what is reported is the first fault in file order, as if they had been read one by one.
    FlujoBloque flujos[4];
    std::string motivoLocalizar;
    int localizados = 0;
    while (localizados < 4 &&
           LocalizarBloque(c, localizados, n, flujos[localizados], &motivoLocalizar))
        ++localizados;
    Inflado fallo = Inflado::Bien;
    const int inflados = InflarFlujos(flujos, localizados, n.DatosBloque, fallo);
    for (int b = 0; b < 4; ++b)
        if (!(b < localizados ? AceptarInflado(b, b < inflados ? Inflado::Bien : fallo, n, motivo)
                              : Fallar(motivo, motivoLocalizar)))
            return false;
    if (!c.Leer(n.ValorFinal))
        return Fallar(motivo,
                      Traducir("el archivo termina antes de su valor final: está truncado"));
    n.Cola.assign(c.Aqui(), c.Aqui() + c.Restante());
    return true;
}

} // namespace

int JuegoDeVersion(uint32_t version) {
    switch (version) {
    case 0x00000020:
        return 1;
    case 0x0000002D:
        return 2;
    case 0xFF080038: // the usual word
    case 0xFF180038: // the same game's, on some of its levels
        return 3;
    case VERSION_TR4:
        return 4;
    default:
        return 0;
    }
}

int CargarNivelDeMemoria(const uint8_t* datos, size_t tamano, trNivel& nivel, std::string* motivo) {
    // The first three games write one uncompressed stream, told apart by its version word.
    // A file that looks like the fifth game's and cannot be read as such is tried as ours (some
    // of ours carry a longer third block); failing both, the fifth game's reason is the one told.
    std::optional<std::string> motivoQuinto;
    if (datos && tamano >= sizeof(uint32_t)) {
        uint32_t version = 0;
        std::memcpy(&version, datos, sizeof version);
        if (const int juego = JuegoDeVersion(version); juego >= 1 && juego <= 3) {
            const Hecho leido = LeerNivelClasico(juego, datos, tamano, nivel);
            if (!leido && motivo)
                *motivo = leido.Motivo();
            return leido ? 1 : 0;
        }
        // The fifth game writes our version word too; its third block, three pages where ours
        // has two, tells it apart. Its size is found by the sizes of the two before it, unread.
        if (version == VERSION_TR4) {
            Cursor c(datos, tamano);
            c.Avanzar(10);
            uint32_t inflado = 0, comprimido = 0;
            bool hay = true;
            for (int b = 0; b < 2 && hay; ++b) {
                hay = c.Leer(inflado) && c.Leer(comprimido) && comprimido <= c.Restante();
                if (hay)
                    c.Avanzar(comprimido);
            }
            if (hay && c.Leer(inflado) && inflado == BLOQUE3_OTRA_DISPOSICION) {
                const Hecho leido = LeerNivelTR5(datos, tamano, nivel);
                if (leido)
                    return 1;
                motivoQuinto = leido.Motivo();
            }
        }
    }
    // Everything goes into a fresh record, handed over only when the whole level was readable,
    // so a damaged file never spoils the level the caller already holds.
    auto nuevo = std::make_unique<trNivel>();
    Cursor c(datos, datos ? tamano : 0);
    if (!LeerContenedor(c, *nuevo, motivo) || !LeerNivel(*nuevo, motivo)) {
        if (motivoQuinto) {
            if (motivo)
                *motivo = std::move(*motivoQuinto);
            return 0;
        }
        // Read as ours as far as it goes; what stops it is told with what the file says it is.
        if (nuevo->Version == VERSION_TR4C && motivo)
            *motivo = Traducir("su versión es «TR4c», la de los niveles de demostración y "
                               "protegidos: ") +
                      *motivo;
        return 0;
    }
    nivel = std::move(*nuevo);
    return 1;
}

int CargarNivel(const char* archivo, trNivel& nivel, std::string* motivo) {
    if (archivo == nullptr || *archivo == '\0')
        return Fallar(motivo, Traducir("no se indicó ningún archivo"));
#ifdef TR4_SIN_ARCHIVOS
    // A build without a file system (the browser's module) is handed the bytes themselves.
    (void)nivel;
    return Fallar(motivo, Formatear(Traducir("no se puede abrir: %s"), {std::strerror(ENOSYS)}));
#else
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
#endif
}

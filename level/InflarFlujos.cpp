#include "InflarFlujos.h"

#include <libdeflate.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <new>
#include <system_error>
#include <vector>

namespace {

// A thread costs tens of microseconds to start; below this much output per thread the blocks
// inflate sooner on the calling one.
constexpr uint64_t INFLADO_POR_HILO = 256 << 10;

// The room past its stated size a stream is given to show it really goes on: more than a few
// bytes, for sizes a little short, and far less than the size itself.
constexpr uint64_t HOLGURA_TOPE = 64 << 10;

// The first buffer a stream is given: all it states when the compressed bytes could plausibly
// yield that much, otherwise what they could, grown only as the stream proves it holds more.
uint64_t CapacidadInicial(const FlujoBloque& f) {
    return std::min<uint64_t>(f.declarado, uint64_t{f.comprimido} * 16 + (1u << 20));
}

// What `hacer` gives, and SinMemoria where it runs out of memory. Built without exceptions (the
// page's module) a failed allocation ends the call instead, and the page starts the module again.
template <typename Hacer> Inflado SinMemoriaSiFalta(Hacer&& hacer) {
#if __cpp_exceptions
    try {
        return hacer();
    } catch (const std::bad_alloc&) {
        return Inflado::SinMemoria;
    }
#else
    return hacer();
#endif
}

// zlib, streaming, to name the fault of a stream that may have gone past its stated size, as a
// level has always been told: libdeflate reads zeros past the end of a cut stream, and those can
// decode into output beyond that size. zlib stops at the last real byte.
Inflado InflarConZlib(const FlujoBloque& f, trBytes& destino) {
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return Inflado::SinMemoria;
    std::unique_ptr<z_stream, int (*)(z_stream*)> cerrar(&z, &inflateEnd);
    z.next_in = const_cast<Bytef*>(f.datos);
    z.avail_in = f.comprimido;

    uint64_t capacidad = CapacidadInicial(f);
    uint8_t sobra = 0;
    return SinMemoriaSiFalta([&] {
        trBytes().swap(destino); // nothing libdeflate left is kept, nor its buffer
        destino.resize(capacidad);
        for (;;) {
            if (z.total_out == capacidad && capacidad < f.declarado) {
                capacidad = std::min<uint64_t>(f.declarado, capacidad * 2);
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
        destino.resize(z.total_out);
        return Inflado::Bien;
    });
}

// Whether the four bytes after the deflate data, `leidos` bytes of it, are there and hold the
// checksum of what it yielded.
bool SumaCorrecta(const FlujoBloque& f, size_t leidos, const uint8_t* salida, size_t escritos) {
    if (f.comprimido - 2 - leidos < 4)
        return false;
    const uint8_t* suma = f.datos + 2 + leidos;
    return libdeflate_adler32(1, salida, escritos) ==
           (uint32_t{suma[0]} << 24 | uint32_t{suma[1]} << 16 | uint32_t{suma[2]} << 8 | suma[3]);
}

// A stream that would not fit in its stated size either goes on past it or is cut and read on in
// zeros. Given room to spare, one that then ends whole, its checksum right, went past from its own
// bytes; anything else is left to zlib, slower but exact.
Inflado MasAllaDelTope(libdeflate_decompressor& d, const FlujoBloque& f, trBytes& destino) {
    trBytes().swap(destino);
    destino.resize(uint64_t{f.declarado} + HOLGURA_TOPE);
    size_t leidos = 0, escritos = 0;
    if (libdeflate_deflate_decompress_ex(&d, f.datos + 2, f.comprimido - 2, destino.data(),
                                         destino.size(), &leidos,
                                         &escritos) == LIBDEFLATE_SUCCESS &&
        escritos > f.declarado && SumaCorrecta(f, leidos, destino.data(), escritos))
        return Inflado::Excede;
    return InflarConZlib(f, destino);
}

// A zlib header with nothing but the deflate data behind it: no preset dictionary, which no level
// has and zlib refuses.
bool CabeceraSencilla(const FlujoBloque& f) {
    const unsigned cmf = f.datos[0], flg = f.datos[1];
    return (cmf & 0x0F) == Z_DEFLATED && (cmf >> 4) <= 7 && ((cmf << 8) | flg) % 31 == 0 &&
           (flg & 0x20) == 0;
}

// One stream in one call to libdeflate, which needs the whole output buffer beforehand. A stated
// size that may be a lie is not trusted with it: the buffer doubles, starting over, only while
// the stream really yields more, so what is held follows the stream, not the header.
// The deflate data is read raw and its checksum checked here: libdeflate's zlib call sets the
// last four bytes aside as the checksum before it decodes, so a stream cut inside its checksum
// would look cut in its data, even where the data had already gone past the stated size.
Inflado InflarUno(libdeflate_decompressor& d, const FlujoBloque& f, trBytes& destino) {
    if (f.comprimido < 2 || !CabeceraSencilla(f))
        return InflarConZlib(f, destino);
    uint64_t capacidad = CapacidadInicial(f);
    return SinMemoriaSiFalta([&] {
        for (;;) {
            trBytes().swap(destino); // the last attempt's bytes are rewritten from the start
            destino.resize(capacidad);
            uint8_t vacio = 0;
            size_t leidos = 0, escritos = 0;
            switch (libdeflate_deflate_decompress_ex(&d, f.datos + 2, f.comprimido - 2,
                                                     capacidad ? destino.data() : &vacio, capacidad,
                                                     &leidos, &escritos)) {
            case LIBDEFLATE_SUCCESS:
                destino.resize(escritos);
                return SumaCorrecta(f, leidos, destino.data(), escritos) ? Inflado::Bien
                                                                         : Inflado::Danado;
            case LIBDEFLATE_INSUFFICIENT_SPACE:
                if (capacidad == f.declarado)
                    return MasAllaDelTope(d, f, destino);
                capacidad = std::min<uint64_t>(f.declarado, capacidad * 2);
                break;
            default: // damaged or cut, found before anything went past the stated size
                return Inflado::Danado;
            }
        }
    });
}

} // namespace

int InflarFlujos(const FlujoBloque* flujos, int cuantos, trBytes* destinos, Inflado& fallo,
                 unsigned trabajadores) {
    cuantos = std::clamp(cuantos, 0, 4);
    // Largest first: the long block starts at once and the short ones fill in beside it.
    int orden[4] = {0, 1, 2, 3};
    std::sort(orden, orden + cuantos, [&](int a, int b) {
        return flujos[a].declarado != flujos[b].declarado
                   ? flujos[a].declarado > flujos[b].declarado
                   : a < b;
    });
    uint64_t total = 0;
    for (int b = 0; b < cuantos; ++b)
        total += flujos[b].declarado;
    [[maybe_unused]] const uint64_t hilos =
        std::min<uint64_t>({std::max(trabajadores, 1u), uint64_t(std::max(cuantos, 1)),
                            std::max<uint64_t>(total / INFLADO_POR_HILO, 1)});

    Inflado resultados[4] = {};
    std::atomic<int> siguiente{0};
    std::atomic<int> primerFallo{cuantos};
    auto trabajar = [&]() noexcept {
        std::unique_ptr<libdeflate_decompressor, decltype(&libdeflate_free_decompressor)> d(
            nullptr, &libdeflate_free_decompressor);
        for (int i; (i = siguiente++) < cuantos;) {
            const int b = orden[i];
            // A block after one known to fail would never be reported.
            if (b > primerFallo.load())
                continue;
            if (!d)
                d.reset(libdeflate_alloc_decompressor());
            resultados[b] = d ? InflarUno(*d, flujos[b], destinos[b]) : Inflado::SinMemoria;
            if (resultados[b] != Inflado::Bien) {
                int visto = primerFallo.load();
                while (b < visto && !primerFallo.compare_exchange_weak(visto, b)) {
                }
            }
        }
    };
    {
#ifndef TR4_SIN_HILOS
        std::vector<std::jthread> ayudantes;
        try {
            ayudantes.reserve(hilos - 1);
            for (uint64_t h = 1; h < hilos; ++h)
                ayudantes.emplace_back(trabajar);
        } catch (const std::system_error&) {
            // Fewer threads than asked for: the calling one takes what they would have.
        } catch (const std::bad_alloc&) {
        }
#endif
        trabajar();
    } // every helper is joined here, before any result is read

    for (int b = 0; b < cuantos; ++b)
        if (resultados[b] != Inflado::Bien) {
            fallo = resultados[b];
            return b;
        }
    return cuantos;
}

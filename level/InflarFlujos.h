#pragma once
#include "trNivel.h"

#include <cstdint>
#ifndef TR4_SIN_HILOS
#include <thread>
#endif

// The threads a task may use. A build without threads (TR4_SIN_HILOS: the browser's module)
// does everything on the calling one.
inline unsigned HilosDisponibles() {
#ifdef TR4_SIN_HILOS
    return 1;
#else
    return std::thread::hardware_concurrency();
#endif
}

// How inflating one block ended.
enum class Inflado { Bien, Excede, Danado, SinMemoria };

// One block's zlib stream as the file holds it, and the size it claims to inflate to: a ceiling
// the caller has already bounded by the compressed size and the cap.
struct FlujoBloque {
    const uint8_t* datos = nullptr;
    uint32_t comprimido = 0;
    uint32_t declarado = 0;
};

// Inflates the first `cuantos` (at most 4) streams into destinos, on up to `trabajadores`
// threads. Returns how many leading blocks inflated whole, each kept at the length its stream
// really yields; when fewer than `cuantos`, `fallo` says why the next one did not. That is the
// first failing block in file order whatever the timing, and every thread has ended on return.
[[nodiscard]] int InflarFlujos(const FlujoBloque* flujos, int cuantos, trBytes* destinos, Inflado& fallo,
                 unsigned trabajadores = HilosDisponibles());

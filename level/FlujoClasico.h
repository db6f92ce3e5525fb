#pragma once
// What the readers of the first three games and of the fifth share: a bounded cursor over the
// file that words its refusals, the rows both lay out alike, and the little byte helpers.
#include "Hecho.h"
#include "trNivel.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

namespace clasico {

template <class T> T Leer(const uint8_t* p) {
    T v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template <class T> void Poner(trBytes& b, T v) {
    const auto* p = reinterpret_cast<const uint8_t*>(&v);
    b.insert(b.end(), p, p + sizeof v);
}

// A count read as a signed 16-bit word: nothing for 0 or below, as the fourth game's reader does.
inline uint64_t Positivo(int16_t cuenta) {
    return cuenta > 0 ? uint64_t(cuenta) : 0;
}

// A bounded cursor over the file that remembers its first refusal, worded with the game and the
// section that could not be read. After a refusal every read yields nothing.
class Flujo {
  public:
    Flujo(const uint8_t* datos, size_t tamano, int juego, size_t base = 0)
        : datos_(datos), tamano_(tamano), juego_(juego), base_(base) {}

    bool Fallo() const { return !motivo_.empty(); }
    const std::string& Motivo() const { return motivo_; }
    size_t Restante() const { return tamano_ - posicion_; }
    size_t Posicion() const { return base_ + posicion_; }

    // Whether `cuenta` records of `tamano` bytes fit in what is left; refused when not, so that a
    // lying count is caught before anything is allocated for it.
    bool Cabe(uint64_t cuenta, uint64_t tamano, const std::string& que);

    // The next cuenta × tamano bytes, or null once refused.
    const uint8_t* Tomar(uint64_t cuenta, uint64_t tamano, const std::string& que);

    template <class T> T Valor(const std::string& que) {
        const uint8_t* p = Tomar(1, sizeof(T), que);
        return p ? Leer<T>(p) : T{};
    }

    void Copiar(trBytes& destino, uint64_t cuenta, uint64_t tamano, const std::string& que);

    // A 32-bit count, then that many records of `tamano` bytes kept as they are; both named by
    // texts still to be translated.
    void Arreglo(uint32_t& cuenta, trBytes& destino, uint32_t tamano, const char* nombreCuenta,
                 const char* nombre);

    // The next `bytes` as a stream of their own: a section whose length the file states is read
    // within it, never past it.
    Flujo Seccion(uint64_t bytes, const std::string& que);

    // A section's refusal is the whole stream's.
    void Absorber(const Flujo& seccion);

    void Rechazar(const std::string& texto);

    // The sample indices end the level data: anything after them means a count was wrong.
    void NadaTrasLasMuestras();

    Hecho Resultado() const { return Fallo() ? Hecho::Fallo(motivo_) : Hecho(); }

  private:
    const uint8_t* datos_;
    size_t tamano_;
    size_t posicion_ = 0;
    int juego_;
    size_t base_;
    std::string motivo_;
};

// The rows between the animations and the keyframes, laid out as the fourth game's in every
// game: state changes, their dispatches, the animation commands and the mesh trees.
void LeerFilasAnimacion(Flujo& f, trNivel& n);

// The sprites' textures, then their sequences.
void LeerFilasSprite(Flujo& f, trNivel& n);

} // namespace clasico

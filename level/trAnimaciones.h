#pragma once
// A level's animations as plain records: what each moveable does, frame by frame. The records
// are as the file holds them; Claves, Movible and Motivo are what reading found out about each.
#include <cstdint>
#include <vector>

// Why an animation cannot be played; Ninguno when it can. The last two name a broken next link
// (trAnimacion::Enlace): the animation still plays, and loops itself where the link would lead.
enum class trMotivoAnimacion : uint8_t {
    Ninguno,
    SinDueno,        // no moveable's range of animations holds it
    SinCuadros,      // frame size 0: its frames were left out of this level
    TasaCero,        // 0 game frames per keyframe
    RangoInvertido,  // its last frame comes before its first
    CuadrosFuera,    // its keyframes run past the frames array
    CuadroPequeno,   // a keyframe's rotations do not fit its frame size for the moveable's tree
    SiguienteFuera,  // its next animation is not one of its moveable's
    CadenaSinFin,    // following next animations loops through ones that take no time at all
};

struct trAnimacion {
    static constexpr uint32_t BYTES_EN_ARCHIVO = 40;

    // As the file holds them.
    uint32_t Cuadro = 0;       // byte offset of its first keyframe in the frames array
    uint8_t Tasa = 0;          // game frames per stored keyframe
    uint8_t TamanoCuadro = 0;  // 16-bit words per keyframe
    uint16_t Estado = 0;       // the state it plays in
    int32_t Velocidad = 0, Aceleracion = 0, VelocidadLateral = 0, AceleracionLateral = 0; // 16.16
    uint16_t PrimerCuadro = 0, UltimoCuadro = 0; // game frame numbers
    uint16_t Siguiente = 0, CuadroSiguiente = 0; // where it goes on when it ends
    uint16_t NumCambios = 0, PrimerCambio = 0;   // its state changes
    uint16_t NumComandos = 0, PrimerComando = 0; // its commands: the first's position in the stream

    // Found out by reading.
    int32_t Movible = -1; // position in trObjetos::Movibles of the moveable it belongs to
    uint32_t Claves = 0;  // keyframes stored
    trMotivoAnimacion Motivo = trMotivoAnimacion::Ninguno;
    // SiguienteFuera or CadenaSinFin when its own frames play but going on from it cannot.
    trMotivoAnimacion Enlace = trMotivoAnimacion::Ninguno;

    bool Jugable() const { return Motivo == trMotivoAnimacion::Ninguno; }
    bool SiguienteRoto() const { return Enlace != trMotivoAnimacion::Ninguno; }
    // Game frames from its first to its last.
    uint32_t Duracion() const {
        return UltimoCuadro >= PrimerCuadro ? uint32_t(UltimoCuadro - PrimerCuadro) : 0;
    }
};

struct trCambioEstado {
    static constexpr uint32_t BYTES_EN_ARCHIVO = 6;
    uint16_t Estado = 0, NumDespachos = 0, PrimerDespacho = 0;
};

// While the frame is within [Bajo, Alto], a state change goes to this animation and frame.
struct trDespacho {
    static constexpr uint32_t BYTES_EN_ARCHIVO = 8;
    uint16_t Bajo = 0, Alto = 0, Siguiente = 0, CuadroSiguiente = 0;
};

// One command of an animation's stream: its number and the arguments it takes.
struct trComandoAnimacion {
    int16_t Tipo = 0;
    uint8_t NumArgumentos = 0;
    int16_t Argumentos[3] = {};
};

struct trAnimaciones {
    std::vector<trAnimacion> Animaciones;
    std::vector<trCambioEstado> Cambios;
    std::vector<trDespacho> Despachos;
    std::vector<int16_t> Comandos; // the stream, as stored
};

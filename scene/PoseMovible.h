#pragma once
// A moveable posed by one of its animations at any game frame, keyframes interpolated as the
// game does (turns spherically, the root's offset linearly), and a player that runs through
// them in time. Plain math over the level's records: tested without a device.
#include "Hecho.h"
#include "trNivel.h"
#include "trObjetos.h"

#include <glm/glm.hpp>

#include <cstdint>
#include <vector>

// Game frames a second.
constexpr double CUADROS_POR_SEGUNDO = 30;

// The world matrix of each mesh of `esqueleto` (device axes, as PiezaObjeto::Mundo) at game
// frame `cuadro` of animation `animacion` of the level's list, counted from its first frame and
// held within its length. Not done, `mundos` untouched, for an animation that cannot be played,
// a frame that is no number, or keyframes that do not fit the skeleton's tree.
Hecho PosarMovible(const trNivel& nivel, const trAnimaciones& animaciones,
                   const trMovible& esqueleto, uint32_t animacion, double cuadro,
                   std::vector<glm::mat4>& mundos);

// The same for a keyframe alone, as stored: mundos of keyframe `clave` of the animation.
Hecho PosarClave(const trNivel& nivel, const trAnimacion& animacion, const trMovible& esqueleto,
                 uint32_t clave, std::vector<glm::mat4>& mundos);

// Where the sound commands of a playing animation go, each when its frame is reached: the
// window's player, or a recording in tests.
class SumideroSonido {
  public:
    virtual ~SumideroSonido() = default;
    virtual void Sonar(uint16_t id) = 0;
};

// Plays one animation in time: looped, or going on to the next animation and frame as the game
// does when one ends. Each animation shows frames first..last, one game frame each, so it takes
// (last - first + 1) / 30 seconds whatever its keyframes.
class Reproductor {
  public:
    enum class Modo { Bucle, Seguir };

    // From the animation's first frame; not done (nothing changes) for one that cannot be played.
    Hecho Elegir(const trAnimaciones& animaciones, uint32_t animacion);
    // Time passes: velocidad x 30 game frames a second, unless paused. The sound commands of
    // the frames run through go to `sonidos`, in order; of a stall that spans several turns of
    // a loop, only the end of the first and the start of the last are heard.
    void Avanzar(double segundos, SumideroSonido* sonidos = nullptr);
    // Frames back (negative) or forward, within the animation, wrapping at its ends.
    void Paso(int cuadros);
    // To a frame counted from the animation's first, held within it.
    void IrA(double cuadro);

    bool Hay() const { return animaciones_ != nullptr; }
    uint32_t Animacion() const { return animacion_; }
    double Cuadro() const { return cuadro_; } // from the animation's first frame
    // Frames it shows: last - first + 1.
    uint32_t Cuadros() const;

    bool Pausado = false;
    double Velocidad = 1;
    Modo Forma = Modo::Bucle;

  private:
    const trAnimaciones* animaciones_ = nullptr;
    uint32_t animacion_ = 0;
    double cuadro_ = 0;
};

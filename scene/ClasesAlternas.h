#pragma once
// Which rooms show with which flip of the level. Each alternate group the level has makes two
// classes: the rooms that give way when that group is flipped, and the rooms that take their
// place; every other room shows whatever is flipped. The scene lays its vertices out by class, and
// the trigger tiles theirs, so that showing one group flipped is a choice of runs.
#include "trSectores.h"

#include <cstdint>
#include <vector>

struct OpcionesNivel;

class ClasesAlternas {
  public:
    static constexpr uint32_t SIEMPRE = 0;

    ClasesAlternas() = default;
    // From each room's alternate and alternate group. A room names the one that replaces it and
    // carries the group a flip map action flips; the replacing room follows the group of the room
    // it replaces. A room that replaces another is of that class, whatever it names itself.
    explicit ClasesAlternas(const std::vector<trCuartoLogica>& cuartos);

    uint32_t NumClases() const { return 1 + 2 * uint32_t(grupos_.size()); }
    // SIEMPRE for a room past those given.
    uint32_t Clase(size_t cuarto) const {
        return cuarto < clases_.size() ? clases_[cuarto] : SIEMPRE;
    }
    // The alternate groups that have rooms to flip, ascending.
    const std::vector<uint8_t>& Grupos() const { return grupos_; }
    // Whether what is of class `clase` shows with the flip the options ask for.
    bool Visible(uint32_t clase, const OpcionesNivel& opciones) const;
    bool CuartoVisible(size_t cuarto, const OpcionesNivel& opciones) const {
        return Visible(Clase(cuarto), opciones);
    }

  private:
    std::vector<uint32_t> clases_;
    std::vector<uint8_t> grupos_;
};

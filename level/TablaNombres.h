#pragma once
#include "Hecho.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

// Names a person reads for a level's object ids: a table of lines `id<TAB>name<TAB>kind`, `#`
// starting a comment. A kind holding "static" names a static mesh; any other line names a
// moveable or a sprite sequence, which share their ids. Lines that are not of that form are
// skipped, so a user's hand-made table never stops a level from opening.
class TablaNombres {
  public:
    void Cargar(std::string_view texto);
    // Not done when the file cannot be read; the table is then left as it was.
    Hecho CargarArchivo(const std::string& ruta);

    // The name of a moveable (or sprite sequence) id, or of a static id; "" when the table has
    // none.
    const std::string& Movible(uint32_t id) const { return Buscar(movibles_, id); }
    const std::string& Estatico(uint32_t id) const { return Buscar(estaticos_, id); }
    bool Vacia() const { return movibles_.empty() && estaticos_.empty(); }

  private:
    static const std::string& Buscar(const std::unordered_map<uint32_t, std::string>& tabla,
                                     uint32_t id);
    std::unordered_map<uint32_t, std::string> movibles_, estaticos_;
};

// The name of a node, an entry or a cell for object `id`: `base` alone, or followed by the
// table's name ("movible_0 Lara").
std::string ConNombre(std::string base, const std::string& nombre);

// The table for levels of `juego`: the public tables of the first three games, built in; for the
// fourth and fifth, none is public, so a user's own nombres/tr4.tsv or nombres/tr5.tsv in the
// settings folder ($XDG_CONFIG_HOME/tr4visor, else ~/.config/tr4visor), read again whenever it
// changed. Empty when there is none. The reference stays valid until the next call for that game.
const TablaNombres& NombresDeJuego(int juego);

// The settings folder's table for `juego` (its path; "" where there is no file system).
std::string RutaNombresUsuario(int juego);

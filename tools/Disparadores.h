#pragma once
// `tr4tool triggers`: the level's logic as modders read it: every trigger with its actions, the
// floor data's functions counted, the markers and the rooms' flags and alternates.
#include "trSectores.h"

#include <ostream>
#include <string>

void EscribirDisparadoresJson(const trLogica& logica, std::ostream& salida);
void EscribirDisparadoresTexto(const trLogica& logica, std::ostream& salida);

int ListarDisparadores(const std::string& archivo, bool json, std::ostream& salida,
                       std::ostream& errores);

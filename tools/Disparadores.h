#pragma once
// `tr4tool triggers`: the level's logic as modders read it: every trigger with its actions, the
// floor data's functions counted, the markers and the rooms' flags and alternates.
#include "trSectores.h"

#include <ostream>
#include <string>

void EscribirDisparadoresJson(const trLogica& logica, std::ostream& salida);
void EscribirDisparadoresTexto(const trLogica& logica, std::ostream& salida);

// One trigger on one line for people: "interruptor, tiempo 0, máscara 31: objeto 1, ..."
std::string TextoDisparador(const trDisparador& d);

int ListarDisparadores(const std::string& archivo, bool json, std::ostream& salida,
                       std::ostream& errores);

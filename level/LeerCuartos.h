#pragma once
#include "trCuartos.h"
#include "trNivel.h"
#include "trObjetos.h"

#include <cstddef>
#include <unordered_map>

// Every room's vertices and faces, read from its raw arrays by their bytes, never by the counts
// the file states. A face naming a vertex past the room's is dropped and counted.
std::vector<trGeometriaCuarto> LeerCuartos(const trNivel& nivel);

// Entry r true when some room names room r as the one that takes its place when the level is
// flipped: the rooms a model of the level as first seen leaves out.
std::vector<bool> CuartosAlternos(const std::vector<trGeometriaCuarto>& cuartos);

// Position of the first moveable (movibles) or static with each id.
std::unordered_map<int64_t, size_t> IndicePorId(const trObjetos& objetos, bool movibles);
// Static placements and items that can be placed: their object exists, and so does their room.
trColocacionesCuartos ContarColocaciones(const trObjetos& objetos, size_t cuartos);

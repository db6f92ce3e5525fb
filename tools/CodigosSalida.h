#pragma once
// tr4tool's exit status, the same for every command, so that a script can tell a mistake in its
// own call from a level or a file that failed. Every step below a command answers with a Hecho;
// a command tells a failure through Fallar or RechazarUso, and the status comes from CodigoSalida
// alone.
#include "Hecho.h"

#include <ostream>
#include <string>

inline constexpr int EXITO = 0;
// The level could not be read, what was asked for is not in it, there is no OpenGL to draw with,
// or the output could not be drawn or written.
inline constexpr int FALLO = 1;
// The options: unknown, missing, malformed or at odds with each other.
inline constexpr int USO_INCORRECTO = 2;

// The status of a command whose options read as `uso` and whose work went as `trabajo`: a refused
// call is the caller's mistake whatever else happened.
inline int CodigoSalida(const Hecho& uso, const Hecho& trabajo) {
    return !uso ? USO_INCORRECTO : !trabajo ? FALLO : EXITO;
}

// A failure of the level, of what was asked of it, of OpenGL or of the output, on one line of
// `errores`: "QUIEN: reason", where `quien` names what it is about ("tr4tool: LEVEL", "tr4tool
// render", or "tr4tool" alone when the reason names its file).
int Fallar(std::ostream& errores, const std::string& quien, const Hecho& trabajo);

// A refused call, on one line: "QUIEN: reason (uso: tr4tool ORDEN --help)", `orden` empty for
// tr4tool's own help.
int RechazarUso(std::ostream& errores, const std::string& quien, const std::string& orden,
                const Hecho& uso);

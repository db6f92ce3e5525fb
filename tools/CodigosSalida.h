#pragma once
// tr4tool's exit status, the same for every command, so that a script can tell a mistake in its
// own call from a level or a file that failed.
inline constexpr int EXITO = 0;
// The level could not be read, what was asked for is not in it, there is no OpenGL to draw with,
// or the output could not be drawn or written.
inline constexpr int FALLO = 1;
// The options: unknown, missing, malformed or at odds with each other.
inline constexpr int USO_INCORRECTO = 2;

#pragma once
// `tr4tool sounds`: every sound id a level's map names, with its details and the samples it picks
// from, and every sample with its format and whether it can be played; with --out, each readable
// sample written as a 16-bit PCM WAVE.
#include <ostream>
#include <string>

// 0 done; 1 when the level cannot be read or the files cannot be written (then none is); 2 for
// missing arguments. Each failure with one line on `errores`. Unreadable samples are listed with
// their reason, and not written, without making the command fail.
int ListarSonidos(const std::string& nivel, bool json, const std::string& carpeta,
                  std::ostream& salida, std::ostream& errores);

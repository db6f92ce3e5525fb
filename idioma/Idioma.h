#pragma once
// The language of every text a person reads. The system's own texts are Spanish and are the
// default; an English locale gets English. One decision for the window, the command line and the
// loader's reasons, taken from the environment alone, so that it holds even where the locale named
// there is not generated on the machine.

enum class Idioma { Espanol, Ingles };

// POSIX order: the first non-empty of LC_ALL, LC_MESSAGES, LANG decides; "en" or "en_*" is
// English, anything else (C, POSIX, es_*, unset) Spanish.
Idioma IdiomaDelEntorno();

// The language in force: the environment's unless fixed by FijarIdioma (tests, a future option).
Idioma IdiomaActual();
void FijarIdioma(Idioma idioma);

// The English form of one of the system's Spanish texts when English is in force and the
// catalogue holds it; otherwise the text itself.
const char* Traducir(const char* espanol);

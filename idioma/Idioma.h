#pragma once
// The language of every text a person reads. The system's own texts are Spanish and are the
// default; an English locale gets English. One decision for the window, the command line and the
// loader's reasons, taken from the environment alone, so that it holds even where the locale named
// there is not generated on the machine.

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

enum class Idioma { Espanol, Ingles };

// POSIX order: the first non-empty of LC_ALL, LC_MESSAGES, LANG decides; "en" or "en_*" is
// English, anything else (C, POSIX, es_*, unset) Spanish.
Idioma IdiomaDelEntorno();

// The language in force: the environment's unless fixed by FijarIdioma (tests, a future option).
Idioma IdiomaActual();
void FijarIdioma(Idioma idioma);

// The English form of one of the system's Spanish texts when English is in force and the
// catalogue (idioma/en.po) holds it; otherwise the text itself.
const char* Traducir(const char* espanol);

// Marks a text for the catalogue where it is written, when it is translated later (in a table of
// names, say): the catalogue's check finds it, and the program gets it back unchanged.
constexpr const char* PorTraducir(const char* espanol) {
    return espanol;
}

// A text with its values put in: each "%s" takes the next value, "%2$s" the second whatever its
// place (a translation may need another order), "%%" is a percent sign. Values are text already,
// numbers included, so a translator sees one kind of placeholder.
std::string Formatear(std::string_view plantilla, std::initializer_list<std::string_view> valores);

// One entry of the compiled catalogue, as en.po holds it.
struct EntradaCatalogo {
    const char* espanol;
    const char* ingles; // empty: not translated yet
    bool dudosa;        // marked fuzzy: a translator must look at it again; never used
};
std::span<const EntradaCatalogo> CatalogoIngles();

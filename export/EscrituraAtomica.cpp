#include "EscrituraAtomica.h"

#include "Idioma.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#if defined(_WIN32)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {

#if defined(TR4_SIN_ARCHIVOS)
// No file system (the page's module writes nothing itself): every call is refused, so a write
// asked for anyway fails with a reason instead of pretending.
class LlamadasDelSistema final : public LlamadasArchivo {
  public:
    int CrearTemporal(std::string&) override { return Nada(); }
    ssize_t Escribir(int, const uint8_t*, size_t) override { return Nada(); }
    int Sincronizar(int) override { return Nada(); }
    int Cerrar(int) override { return Nada(); }
    int Enlazar(const std::string&, const std::string&) override { return Nada(); }
    int Renombrar(const std::string&, const std::string&) override { return Nada(); }
    int Borrar(const std::string&) override { return Nada(); }
    int SincronizarCarpeta(const std::string&) override { return Nada(); }

  private:
    static int Nada() {
        errno = ENOSYS;
        return -1;
    }
};
#elif defined(_WIN32)
// Windows: no hard links and no folder to sync, which the write already allows for (the old file
// is moved aside instead, and the renames are as lasting as the folder makes them).
class LlamadasDelSistema final : public LlamadasArchivo {
  public:
    int CrearTemporal(std::string& plantilla) override {
        if (_mktemp_s(plantilla.data(), plantilla.size() + 1) != 0)
            return -1;
        return _open(plantilla.c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    }
    ssize_t Escribir(int fd, const uint8_t* datos, size_t n) override {
        return _write(fd, datos, unsigned(std::min<size_t>(n, 1u << 30)));
    }
    int Sincronizar(int fd) override { return _commit(fd); }
    int Cerrar(int fd) override { return _close(fd); }
    int Enlazar(const std::string&, const std::string&) override {
        errno = ENOSYS;
        return -1;
    }
    int Renombrar(const std::string& de, const std::string& a) override {
        return rename(de.c_str(), a.c_str());
    }
    int Borrar(const std::string& ruta) override { return _unlink(ruta.c_str()); }
    int SincronizarCarpeta(const std::string&) override {
        errno = EINVAL;
        return -1;
    }
};
#else
class LlamadasDelSistema final : public LlamadasArchivo {
  public:
    int CrearTemporal(std::string& plantilla) override {
        const int fd = mkstemp(plantilla.data());
        if (fd >= 0)
            fchmod(fd, 0644); // mkstemp's 0600 would make an export unreadable to others
        return fd;
    }
    ssize_t Escribir(int fd, const uint8_t* datos, size_t n) override { return write(fd, datos, n); }
    int Sincronizar(int fd) override { return fsync(fd); }
    int Cerrar(int fd) override { return close(fd); }
    int Enlazar(const std::string& de, const std::string& a) override {
        return link(de.c_str(), a.c_str());
    }
    int Renombrar(const std::string& de, const std::string& a) override {
        return rename(de.c_str(), a.c_str());
    }
    int Borrar(const std::string& ruta) override { return unlink(ruta.c_str()); }
    int SincronizarCarpeta(const std::string& carpeta) override {
        const int fd = open(carpeta.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd < 0)
            return -1;
        const int r = fsync(fd);
        const int error = errno;
        close(fd);
        errno = error;
        return r;
    }
};

#endif

std::string Carpeta(const std::string& ruta) {
#if defined(_WIN32)
    const auto barra = ruta.find_last_of("/\\");
#else
    const auto barra = ruta.find_last_of('/');
#endif
    if (barra == std::string::npos)
        return ".";
    return barra == 0 ? "/" : ruta.substr(0, barra);
}

Hecho Fallar(const std::string& ruta, int error) {
    return Hecho::Fallo(
        Formatear(Traducir("no se pudo escribir %s: %s"), {ruta, std::strerror(error)}));
}

// The temporary beside the file could not be made: the fault is the folder's. A folder that
// exists yet holds no new files (/proc) answers "no such file", which would send the user looking
// for a folder that is there.
Hecho FallarCarpeta(const std::string& ruta, int error) {
    if (error != ENOENT && error != ENOTDIR && error != EACCES && error != EPERM && error != EROFS)
        return Fallar(ruta, error);
    const std::string carpeta = Carpeta(ruta);
    struct stat datos {};
    const bool existe = stat(carpeta.c_str(), &datos) == 0 && S_ISDIR(datos.st_mode);
    // "No such folder" would send the user looking for one, when a file stands in its way.
    if (const std::string archivo = existe ? std::string() : ArchivoEnLugarDeCarpeta(carpeta);
        !archivo.empty())
        return Hecho::Fallo(Formatear(
            Traducir("no se pudo escribir %s: %s es un archivo, no una carpeta"), {ruta, archivo}));
    return Hecho::Fallo(
        Formatear(existe ? Traducir("no se pudo escribir %s: no se puede escribir en la "
                                    "carpeta %s")
                         : Traducir("no se pudo escribir %s: no existe la carpeta %s"),
                  {ruta, carpeta}));
}

bool EscribirTodo(LlamadasArchivo& llamadas, int fd, std::span<const uint8_t> bytes) {
    size_t hecho = 0;
    while (hecho < bytes.size()) {
        const ssize_t n = llamadas.Escribir(fd, bytes.data() + hecho, bytes.size() - hecho);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return false;
        }
        hecho += static_cast<size_t>(n);
    }
    return true;
}

// Where one file stands in the write, to undo it.
struct Paso {
    std::string temporal; // written, not yet renamed into place (empty: none made)
    std::string respaldo; // the file it replaces, kept under another name until the end
    bool hayRespaldo = false;
    bool moverAntes = false;   // no second name possible here: the old file is moved aside
    bool respaldoMovido = false; // ... and was: the target's name is free
    bool renombrado = false;
};

// A file system without hard links (FAT, some network shares) or a file that may not take one.
bool SinEnlace(int error) {
    return error == EPERM || error == ENOTSUP || error == EOPNOTSUPP || error == EMLINK ||
           error == ENOSYS;
}

// A folder that cannot be synced says so with these; its renames are as lasting as it allows.
bool SinSincronizarCarpeta(int error) {
    return error == EINVAL || error == ENOTSUP || error == EOPNOTSUPP;
}

} // namespace

std::string ArchivoEnLugarDeCarpeta(const std::string& carpeta) {
    // Each step drops the last name, so the walk ends at "." or "/".
    for (std::string c = carpeta;; c = Carpeta(c)) {
        struct stat datos {};
        if (stat(c.c_str(), &datos) == 0)
            return S_ISDIR(datos.st_mode) ? std::string() : c;
        if (c == "." || c == "/")
            return {};
    }
}

LlamadasArchivo& LlamadasArchivo::DelSistema() {
    static LlamadasDelSistema sistema;
    return sistema;
}

Hecho EscribirAtomico(const std::vector<ArchivoPorEscribir>& archivos, LlamadasArchivo& llamadas) {
    std::vector<Paso> pasos(archivos.size());
    // Backwards, so that a name given twice ends as it first was. A file whose old content cannot
    // be put back keeps it under its hidden second name rather than lose it.
    auto deshacer = [&] {
        for (size_t i = pasos.size(); i-- > 0;) {
            Paso& p = pasos[i];
            const std::string& ruta = archivos[i].Ruta;
            if (!p.renombrado && !p.temporal.empty())
                (void)llamadas.Borrar(p.temporal);
            if (p.hayRespaldo && (p.renombrado || p.respaldoMovido)) {
                (void)llamadas.Renombrar(p.respaldo, ruta);
            } else {
                if (p.renombrado)
                    (void)llamadas.Borrar(ruta);
                if (p.hayRespaldo)
                    (void)llamadas.Borrar(p.respaldo);
            }
        }
    };
    auto fallar = [&](const std::string& ruta, int error) {
        deshacer();
        return Fallar(ruta, error);
    };

    for (size_t i = 0; i < archivos.size(); ++i) {
        const std::string& ruta = archivos[i].Ruta;
#if defined(_WIN32)
        const auto barra = ruta.find_last_of("/\\");
#else
        const auto barra = ruta.find_last_of('/');
#endif
        const std::string nombre = barra == std::string::npos ? ruta : ruta.substr(barra + 1);
        // Starting with a dot, a file manager watching the folder hides it.
        std::string temporal = Carpeta(ruta) + "/." + nombre + ".XXXXXX";
        const int fd = llamadas.CrearTemporal(temporal);
        if (fd < 0) {
            const int error = errno;
            deshacer();
            return FallarCarpeta(ruta, error);
        }
        pasos[i].temporal = temporal;
        bool escrito = EscribirTodo(llamadas, fd, archivos[i].Bytes) && llamadas.Sincronizar(fd) == 0;
        int error = escrito ? 0 : errno;
        if (llamadas.Cerrar(fd) != 0 && escrito) {
            escrito = false;
            error = errno;
        }
        if (!escrito)
            return fallar(ruta, error);
    }

    // A second name for each file about to be replaced, taken before anything is: a hard link
    // costs nothing and leaves the file where it stands.
    for (size_t i = 0; i < archivos.size(); ++i) {
        Paso& p = pasos[i];
        const std::string& ruta = archivos[i].Ruta;
        p.respaldo = p.temporal + "~";
        if (llamadas.Enlazar(ruta, p.respaldo) == 0) {
            p.hayRespaldo = true;
            continue;
        }
        const int error = errno;
        if (error == ENOENT)
            continue; // nothing stands there
        struct stat datos {};
        if (!SinEnlace(error))
            return fallar(ruta, error);
#if defined(_WIN32)
        const int visto = stat(ruta.c_str(), &datos); // no symbolic links to tell apart there
#else
        const int visto = lstat(ruta.c_str(), &datos);
#endif
        if (visto != 0) {
            if (errno == ENOENT)
                continue;
            return fallar(ruta, errno);
        }
        // Linux refuses a folder a hard link with EPERM; it must not be moved aside either.
        if (S_ISDIR(datos.st_mode))
            return fallar(ruta, EISDIR);
        p.moverAntes = true;
    }

    for (size_t i = 0; i < archivos.size(); ++i) {
        Paso& p = pasos[i];
        const std::string& ruta = archivos[i].Ruta;
        if (p.moverAntes) {
            if (llamadas.Renombrar(ruta, p.respaldo) == 0)
                p.hayRespaldo = p.respaldoMovido = true;
            else if (errno != ENOENT)
                return fallar(ruta, errno);
        }
        if (llamadas.Renombrar(p.temporal, ruta) != 0)
            return fallar(ruta, errno);
        p.renombrado = true;
    }

    // The renames last only once their folders are on disk: until then a power cut may bring the
    // old files back, or lose both.
    std::vector<std::string> carpetas;
    for (const auto& archivo : archivos)
        if (const std::string c = Carpeta(archivo.Ruta);
            std::find(carpetas.begin(), carpetas.end(), c) == carpetas.end())
            carpetas.push_back(c);
    for (const auto& carpeta : carpetas)
        if (llamadas.SincronizarCarpeta(carpeta) != 0 && !SinSincronizarCarpeta(errno))
            return fallar(carpeta, errno);

    for (const Paso& p : pasos)
        if (p.hayRespaldo)
            (void)llamadas.Borrar(p.respaldo);
    return {};
}

Hecho EscribirAtomico(const std::string& ruta, std::span<const uint8_t> bytes) {
    return EscribirAtomico({ArchivoPorEscribir{ruta, {bytes.begin(), bytes.end()}}});
}

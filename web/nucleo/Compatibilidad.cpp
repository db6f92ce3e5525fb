// What the native build takes from shared libraries, compiled into the module instead.
#include <fstream>
#include <ostream>

// tinygltf's writer, without its image and file code: the export hands it the pages as PNG
// bytes already and takes the model back as bytes. Its file writers name std::ofstream, which a
// library without a file system lacks; they are never called here, and get a stream that opens
// nothing.
namespace std {
class ofstream_sin_archivos : public ostream {
  public:
    explicit ofstream_sin_archivos(const char*, ios_base::openmode = ios_base::out)
        : ostream(nullptr) {}
    bool is_open() const { return false; }
};
} // namespace std
#define ofstream ofstream_sin_archivos
#define TINYGLTF_IMPLEMENTATION
#include <tiny_gltf.h>

// thread_local objects with destructors register them here; the module has one thread, so they
// are destroyed as statics are, at exit (which a reactor never reaches).
extern "C" int __cxa_atexit(void (*destruir)(void*), void* objeto, void* dso);
extern "C" int __cxa_thread_atexit(void (*destruir)(void*), void* objeto, void* dso) {
    return __cxa_atexit(destruir, objeto, dso);
}

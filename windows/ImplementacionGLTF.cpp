// tinygltf's code, which the Linux build takes from Debian's shared library, compiled in.
#define TINYGLTF_IMPLEMENTATION
#include <tiny_gltf.h>

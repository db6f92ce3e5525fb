# Cross-compiling the core for the browser: Debian's clang and lld, libc++ and wasi-libc for
# wasm32-wasi, all under /usr. No exceptions and no threads there.
set(CMAKE_SYSTEM_NAME Generic)
set(CMAKE_SYSTEM_PROCESSOR wasm32)
set(CMAKE_SYSTEM_VERSION 1)
set(triple wasm32-wasi)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(CMAKE_C_COMPILER NAMES clang-19 REQUIRED)
find_program(CMAKE_CXX_COMPILER NAMES clang++-19 REQUIRED)
find_program(TR4_WASM_LD NAMES wasm-ld-19 wasm-ld REQUIRED)
find_program(CMAKE_AR NAMES llvm-ar-19 llvm-ar REQUIRED)
find_program(CMAKE_RANLIB NAMES llvm-ranlib-19 llvm-ranlib REQUIRED)
set(CMAKE_C_COMPILER_TARGET ${triple})
set(CMAKE_CXX_COMPILER_TARGET ${triple})
set(CMAKE_SYSROOT /usr)

# SIMD and bulk memory: every browser with WebGL 2 has had them for years, and the inflating,
# compressing and copying of a level's pages run several times faster with them.
set(CMAKE_C_FLAGS_INIT "-fno-exceptions -msimd128 -mbulk-memory")
set(CMAKE_CXX_FLAGS_INIT "-fno-exceptions -msimd128 -mbulk-memory")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-fuse-ld=${TR4_WASM_LD}")


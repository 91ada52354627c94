# Sourced, not run: keeps a CMake build directory only while CMake can reuse it.
#
#   source scripts/build-dir.sh
#   sw_fresh_build_dir DIR     # removes DIR if it was configured for another generator or compiler

# CMake keeps the generator and the compiler it found first: a directory made with Make, or with a compiler
# that is not the one its toolchain file now names, starts afresh.
sw_fresh_build_dir() {
    local dir=$1 cache="$1/CMakeCache.txt" toolchain want
    [ -f "$cache" ] || return 0
    if ! grep -q '^CMAKE_GENERATOR:INTERNAL=Ninja$' "$cache"; then
        rm -rf "$dir"
        return 0
    fi
    toolchain=$(sed -n 's/^CMAKE_TOOLCHAIN_FILE:FILEPATH=//p' "$cache")
    [ -f "$toolchain" ] || return 0
    want=$(sed -n 's/^set(CMAKE_CXX_COMPILER \([^ )]*\))$/\1/p' "$toolchain")
    if [ -n "$want" ] && ! grep -qs "^set(CMAKE_CXX_COMPILER \"\([^\"]*/\)\?$want\")" "$dir"/CMakeFiles/*/CMakeCXXCompiler.cmake; then
        rm -rf "$dir"
    fi
    return 0
}

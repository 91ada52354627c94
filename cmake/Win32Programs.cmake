# The settings of every Windows program of the win32 build, and of an author's setup program built
# against it (SetwrightConfig.cmake applies them in the author's project).
# Every .exe stands alone on a bare Windows.
add_link_options(-static -static-libgcc -static-libstdc++)
add_compile_definitions(WINVER=0x0400 _WIN32_WINNT=0x0400 NOMINMAX)
# Shipped programs are downloaded: optimized for size, each function and datum in a section of its own so
# that the linker drops what a program does not use. At -Os g++ "declones" constructors into a local copy
# per object file, which the linker cannot merge: keep them shared instead.
add_compile_options($<$<CONFIG:Release>:-Os> $<$<AND:$<CONFIG:Release>,$<COMPILE_LANGUAGE:CXX>>:-fno-declone-ctor-dtor> -ffunction-sections
  -fdata-sections)
add_link_options(-Wl,--gc-sections)
# Programs load at their preferred base on every Windows they target, so they carry no relocations
# (libraries keep theirs).
string(APPEND CMAKE_EXE_LINKER_FLAGS " -Wl,--disable-dynamicbase -Wl,--disable-reloc-section")

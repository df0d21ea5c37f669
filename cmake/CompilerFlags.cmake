# Compiler warnings and hardening, chosen per compiler.
#
# Warnings are errors only when PIPECALC_WERROR asks for it (scripts/test
# does), so that a newer compiler's new warning never stops a user's build.
#
# The programs are hardened on GCC and Clang: a stack protector for every
# function with arrays or addresses taken, the C library's checked variants
# of its copying functions (_FORTIFY_SOURCE, in optimised builds, as it needs
# optimisation), position-independent executables, and a relocation table
# made read-only once every symbol is bound at start-up.  Flags given from
# outside (a distribution's CFLAGS, CXXFLAGS and LDFLAGS) come first and keep
# their own _FORTIFY_SOURCE level.

option(PIPECALC_WERROR "Treat compiler warnings as errors" OFF)
option(PIPECALC_HARDENING "Harden the programs (stack protector, fortified calls, PIE, full RELRO)" ON)

if(CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  add_compile_options(-Wall -Wextra -Wpedantic -Wshadow
                      $<$<COMPILE_LANGUAGE:CXX>:-Wnon-virtual-dtor>)
  if(PIPECALC_WERROR)
    add_compile_options(-Werror)
  endif()
elseif(MSVC)
  # The sources are UTF-8, and MSVC would read them in the system's code page.
  add_compile_options(/W4 /permissive- /utf-8)
  if(PIPECALC_WERROR)
    add_compile_options(/WX)
  endif()
endif()

if(PIPECALC_HARDENING AND CMAKE_CXX_COMPILER_ID MATCHES "GNU|Clang")
  set(optimised_configurations "$<CONFIG:Release,RelWithDebInfo,MinSizeRel>")
  set(CMAKE_POSITION_INDEPENDENT_CODE ON)
  include(CheckPIESupported)
  check_pie_supported()
  add_compile_options(-fstack-protector-strong)
  if(NOT "${CMAKE_C_FLAGS} ${CMAKE_CXX_FLAGS}" MATCHES "_FORTIFY_SOURCE")
    # Some compilers define it themselves: redefined, it would warn.
    add_compile_options($<${optimised_configurations}:-U_FORTIFY_SOURCE>
                        $<${optimised_configurations}:-D_FORTIFY_SOURCE=2>)
  endif()
  if(NOT APPLE)
    add_link_options(LINKER:-z,relro LINKER:-z,now)
  endif()
  unset(optimised_configurations)
endif()

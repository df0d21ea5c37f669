# Compiler warnings, chosen per compiler.
#
# Warnings are errors only when PIPECALC_WERROR asks for it (scripts/test
# does), so that a newer compiler's new warning never stops a user's build.

option(PIPECALC_WERROR "Treat compiler warnings as errors" OFF)

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

# llave_warnings: an interface target that carries the warning flags for Llave's
# own code. Link it PRIVATE so the flags never reach other projects.
include_guard(GLOBAL)

# Warnings stop Llave's own builds. Inside another project, whose compiler may
# warn about more, they stay warnings unless LLAVE_WARNINGS_AS_ERRORS is set.
if(NOT DEFINED LLAVE_WARNINGS_AS_ERRORS)
  set(LLAVE_WARNINGS_AS_ERRORS ${PROJECT_IS_TOP_LEVEL})
endif()

add_library(llave_warnings INTERFACE)
if(MSVC)
  target_compile_options(llave_warnings INTERFACE /W4 /utf-8 $<$<BOOL:${LLAVE_WARNINGS_AS_ERRORS}>:/WX>)
else()
  target_compile_options(llave_warnings INTERFACE -Wall -Wextra -Wpedantic
    $<$<BOOL:${LLAVE_WARNINGS_AS_ERRORS}>:-Werror>)
endif()

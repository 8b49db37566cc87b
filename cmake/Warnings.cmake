# Warnings are errors in every build; targets opt in by linking tavrel_warnings.
add_library(tavrel_warnings INTERFACE)
target_compile_options(tavrel_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Werror -Wshadow)

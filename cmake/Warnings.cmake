# Warnings as errors on our own code only: GoogleTest and libjpeg never link this target.
add_library(corvane_warnings INTERFACE)
target_compile_options(corvane_warnings INTERFACE -Wall -Wextra -Werror)
if(CORVANE_SANITIZE)
    target_compile_options(corvane_warnings INTERFACE
        -fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer)
    target_link_options(corvane_warnings INTERFACE -fsanitize=address,undefined)
endif()
